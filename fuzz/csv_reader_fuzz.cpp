// Any bytes, made into a file for the csv reader as sheet_fuzz_input.h describes: no crash, no
// hang, and what it accepts stays within the sheet's limits.
#include <cstdint>
#include <cstdlib>

#include "files/sheet_reader.h"
#include "sheet_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvprt::files;
    if (!fuzz::sound(fuzz::parse_fuzz_input(SheetKind::Csv, data, size), true)) {
        std::abort();
    }
    // The same bytes through the kind detection: a failure always says why.
    const SheetResult r = parse_sheet({data, size}, "fuzz");
    if (r.ok() != r.message.empty() || (!r.ok() && !r.sheet.rows.empty())) {
        std::abort();
    }
    return 0;
}
