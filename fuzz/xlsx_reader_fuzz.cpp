// Any bytes, made into a file for the xlsx reader as sheet_fuzz_input.h describes: no crash, no
// hang, and what it accepts stays within the sheet's limits.
#include <cstdint>
#include <cstdlib>

#include "files/sheet_reader.h"
#include "sheet_fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvprt::files;
    if (!fuzz::sound(fuzz::parse_fuzz_input(SheetKind::Xlsx, data, size), false)) {
        std::abort();
    }
    return 0;
}
