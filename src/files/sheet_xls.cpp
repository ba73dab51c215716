#include "files/sheet_parts.h"

namespace qvprt::files::sheet {

// The .xls reader comes next; until then such files are refused with a clear message.
Parsed parse_xls(Bytes) {
    return failed(SheetError::NotSpreadsheet, "Excel 97-2003工作簿（.xls，本版本尚不能读取）");
}

}  // namespace qvprt::files::sheet
