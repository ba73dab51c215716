#pragma once
// The shared spreadsheet samples, where the build found them (QVPRT_SAMPLES) or beside the build
// folder's checkout.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace qvprt::testing {

inline std::string sheet_samples_dir() {
    const char* root = std::getenv("QVPRT_SAMPLES");
    return std::string(root != nullptr && *root != '\0' ? root : "../shared/samples") +
           "/spreadsheets/";
}

inline bool have_sheet_samples() {
    return std::ifstream(sheet_samples_dir() + "MANIFEST.tsv").good();
}

// The samples' file names, as the manifest lists them.
inline std::vector<std::string> sheet_sample_files() {
    std::vector<std::string> names;
    std::ifstream in(sheet_samples_dir() + "MANIFEST.tsv");
    std::string line;
    std::getline(in, line);  // column titles
    while (std::getline(in, line)) {
        if (const std::string name = line.substr(0, line.find('\t')); !name.empty()) {
            names.push_back(name);
        }
    }
    return names;
}

// Tests over every sample; they skip where the samples are not on the machine.
class SheetSamplesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!have_sheet_samples()) {
            GTEST_SKIP() << "the shared samples are not on this machine (" << sheet_samples_dir()
                         << ")";
        }
        names = sheet_sample_files();
        ASSERT_FALSE(names.empty()) << "an empty MANIFEST.tsv in " << sheet_samples_dir();
    }
    std::vector<std::string> names;
};

}  // namespace qvprt::testing
