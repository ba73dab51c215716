// libzip behind the zip container interface.
#include "files/sheet_zip.h"

#include <zip.h>

namespace qvprt::files::sheet {

struct ZipArchive::Impl {
    zip_t* za = nullptr;
    ~Impl() {
        if (za != nullptr) {
            zip_discard(za);
        }
    }
};

struct ZipStream::Impl {
    zip_file_t* file = nullptr;
    ~Impl() {
        if (file != nullptr) {
            zip_fclose(file);
        }
    }
};

std::unique_ptr<ZipArchive> ZipArchive::open(Bytes bytes, std::string& why) {
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* src = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &err);
    if (src == nullptr) {
        zip_error_fini(&err);
        why = "ZIP目录无法读取";
        return nullptr;
    }
    zip_t* za = zip_open_from_source(src, ZIP_RDONLY, &err);
    if (za == nullptr) {
        zip_source_free(src);
        why = zip_error_code_zip(&err) == ZIP_ER_NOZIP ? "找不到ZIP目录，文件可能不完整"
                                                       : "ZIP目录无法读取";
        zip_error_fini(&err);
        return nullptr;
    }
    zip_error_fini(&err);
    std::unique_ptr<ZipArchive> a(new ZipArchive);
    a->impl_ = std::make_unique<Impl>();
    a->impl_->za = za;
    return a;
}

ZipArchive::~ZipArchive() = default;

bool ZipArchive::has(std::string_view name) const {
    return zip_name_locate(impl_->za, std::string(name).c_str(), ZIP_FL_NOCASE) >= 0;
}

ZipStream::State ZipArchive::read_all(std::string_view name, std::string& out) {
    ZipStream s(*this, name);
    char buf[16384];
    out.clear();
    while (std::size_t n = s.read(buf, sizeof buf)) {
        out.append(buf, n);
    }
    return s.state();
}

ZipStream::ZipStream(ZipArchive& zip, std::string_view name)
    : impl_(std::make_unique<Impl>()), name_(name) {
    const zip_int64_t i = zip_name_locate(zip.impl_->za, name_.c_str(), ZIP_FL_NOCASE);
    if (i < 0) {
        state_ = State::Missing;
        return;
    }
    // A part that says it unpacks past the limit is refused before any of it is unpacked; one that
    // lies about its size is stopped by the count in read().
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(zip.impl_->za, static_cast<zip_uint64_t>(i), 0, &st) == 0 &&
        (st.valid & ZIP_STAT_SIZE) != 0 &&
        st.size > static_cast<zip_uint64_t>(kMaxUnpackedPartBytes)) {
        state_ = State::TooLarge;
        return;
    }
    impl_->file = zip_fopen_index(zip.impl_->za, static_cast<zip_uint64_t>(i), 0);
    if (impl_->file == nullptr) {
        state_ = State::Failed;
    }
}

ZipStream::~ZipStream() = default;

std::size_t ZipStream::read(char* buf, std::size_t size) {
    if (state_ != State::Open) {
        return 0;
    }
    const zip_int64_t n = zip_fread(impl_->file, buf, size);
    if (n < 0) {
        state_ = State::Failed;
        return 0;
    }
    total_ += n;
    if (total_ > kMaxUnpackedPartBytes) {
        state_ = State::TooLarge;
        return 0;
    }
    return static_cast<std::size_t>(n);
}

Parsed stream_failure(const ZipStream& s) {
    switch (s.state()) {
        case ZipStream::State::Missing:
            return damaged("缺少“" + s.name() + "”");
        case ZipStream::State::TooLarge:
            return failed(SheetError::PartTooLarge, s.name(),
                          std::to_string(kMaxUnpackedPartBytes >> 20));
        case ZipStream::State::Failed:
        case ZipStream::State::Open:
            break;
    }
    return damaged("“" + s.name() + "”无法解压");
}

}  // namespace qvprt::files::sheet
