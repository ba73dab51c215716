// Any bytes as a comma-separated file; and through the kind detection.
#include <cstdint>

#include "files/sheet_reader.h"
#include "sheet_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvprt::files;
    fuzz::check_parsed(sheet::parse_csv({data, size}), true);
    const SheetResult r = parse_sheet({data, size}, "fuzz");
    if (r.ok() == r.message.empty() || (!r.ok() && !r.sheet.rows.empty())) {
        std::abort();
    }
    return 0;
}
