// A zip (input that starts with "PK"), or else the package's XML parts separated by NUL bytes,
// stored uncompressed in a made zip so that mutations reach the XML readers.
#include <cstdint>

#include "files/sheet_fixtures.h"
#include "files/sheet_zip.h"
#include "sheet_fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvprt::files;
    SheetKind kind = SheetKind::Unknown;
    if (size >= 2 && data[0] == 'P' && data[1] == 'K') {
        fuzz::check_parsed(sheet::parse_zip({data, size}, kind), false);
        return 0;
    }
    const std::vector<std::string> p = fuzz::split_parts(data, size, 6);
    const std::vector<std::uint8_t> zip = testing::make_zip({{"_rels/.rels", p[0]},
                                                             {"xl/workbook.xml", p[1]},
                                                             {"xl/_rels/workbook.xml.rels", p[2]},
                                                             {"xl/sharedStrings.xml", p[3]},
                                                             {"xl/styles.xml", p[4]},
                                                             {"xl/worksheets/sheet1.xml", p[5]}},
                                                            true);
    fuzz::check_parsed(sheet::parse_zip(zip, kind), false);
    return 0;
}
