// A compound file (input that starts with its signature), or else a bare BIFF8 workbook stream,
// so that mutations reach the records without having to keep the container whole.
#include <cstdint>
#include <cstring>

#include "sheet_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvprt::files;
    if (size >= 8 && std::memcmp(data, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) == 0) {
        fuzz::check_parsed(sheet::parse_xls({data, size}), false);
    } else {
        fuzz::check_parsed(sheet::parse_biff({reinterpret_cast<const char*>(data), size}), false);
    }
    return 0;
}
