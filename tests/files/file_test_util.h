#pragma once
// Shared pieces of the file tests: a scratch folder, lists of records, and keeping the files the
// tests write as starting corpus for the fuzz targets.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "model/job_settings.h"
#include "model/segment_list.h"
#include "text/bytes.h"

namespace qvprt::files::testing {

using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

class ScratchDir {
  public:
    explicit ScratchDir(const fs::path& base = fs::temp_directory_path()) {
        std::string tmpl = (base / "qvprt-files-XXXXXX").string();
        path_ = ::mkdtemp(tmpl.data());
    }
    ~ScratchDir() {
        std::error_code ec;
        fs::remove_all(path_, ec);
    }
    const fs::path& path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

  private:
    fs::path path_;
};

inline void write_bytes(const std::string& path, const Bytes& b) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

inline Bytes read_bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        return {};
    }
    Bytes b(static_cast<std::size_t>(in.tellg()));
    in.seekg(0).read(reinterpret_cast<char*>(b.data()), static_cast<std::streamsize>(b.size()));
    return b;
}

// With QVPRT_CORPUS_DIR set, the files a test writes also go there, named `name`, as a starting
// corpus for fuzzing.
inline void keep_in_corpus(const std::string& name, const Bytes& b) {
    if (const char* dir = std::getenv("QVPRT_CORPUS_DIR")) {
        fs::create_directories(dir);
        write_bytes((fs::path(dir) / name).string(), b);
    }
}

// Owns a list of records with the given text lengths (text 'a', 'b', ...).
class RecordList {
  public:
    RecordList(const model::JobSettings& s, const std::vector<int>& lengths) {
        model::SegmentNode* tail = nullptr;
        int i = 0;
        for (int len : lengths) {
            tail = list_.push_back(s);
            text::copy_field(tail->text, std::string(static_cast<std::size_t>(len),
                                                     static_cast<char>('a' + i++ % 26)));
            tail->text_length = static_cast<std::uint8_t>(len);
        }
    }
    model::SegmentNode* head() { return list_.head(); }
    model::SegmentNode* at(int index) { return list_.at(index); }

  private:
    model::SegmentList list_;
};

}  // namespace qvprt::files::testing
