#pragma once
// The OLE2 compound file of an .xls, read from memory: the workbook stream, or what the file is
// instead (an older Excel's "Book", an encrypted package, another program's document).

#include <string>

#include "files/sheet_parts.h"

namespace qvprt::files::sheet {

// The BIFF stream in `out`, or a failure.
Parsed read_ole_workbook(Bytes bytes, std::string& out);

}  // namespace qvprt::files::sheet
