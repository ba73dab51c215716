// The kind of a spreadsheet file by its first bytes, then the reader for that kind.
#include "files/sheet_reader.h"

#include <cstring>

#include "files/file_messages.h"
#include "files/read_whole_file.h"
#include "files/sheet_parts.h"
#include "files/sheet_zip.h"

namespace qvprt::files {
namespace sheet {
namespace {

bool starts(Bytes b, std::string_view sig) {
    return b.size() >= sig.size() && std::memcmp(b.data(), sig.data(), sig.size()) == 0;
}

// Text that begins like a web page, which Excel and many web tools save under ".xls".
bool looks_html(std::string_view s) {
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t' || s[i] == '\r' || s[i] == '\n')) {
        ++i;
    }
    std::string head;
    for (std::size_t k = i; k < s.size() && head.size() < 64; ++k) {
        head += static_cast<char>(s[k] >= 'A' && s[k] <= 'Z' ? s[k] - 'A' + 'a' : s[k]);
    }
    return head.starts_with("<!doctype html") || head.starts_with("<html") ||
           head.starts_with("<table") || head.starts_with("<meta") ||
           head.starts_with("mime-version:");
}

// What a binary file that is no spreadsheet is, by its signature; empty when unknown.
std::string binary_kind(Bytes b) {
    struct Sig {
        std::string_view bytes;
        const char* what;
    };
    static const Sig sigs[] = {
        {"%PDF", "PDF文件"},
        {"\x89PNG", "PNG图片"},
        {"\xFF\xD8\xFF", "JPEG图片"},
        {"GIF8", "GIF图片"},
        {"BM", "BMP图片"},
        {"Rar!", "RAR压缩包"},
        {"7z\xBC\xAF", "7z压缩包"},
        {"\x1F\x8B", "gzip压缩包"},
        {"\xFF\xFE", "UTF-16编码的文本"},
        {"\xFE\xFF", "UTF-16编码的文本"},
        {"{\\rtf", "RTF文档"},
    };
    for (const Sig& s : sigs) {
        if (starts(b, s.bytes)) {
            return s.what;
        }
    }
    return {};
}

// BIFF2 to BIFF5 streams stored bare, as Excel 2.x to 4.0 wrote them: a BOF record first.
bool bare_old_biff(Bytes b) {
    if (b.size() < 8 || b[0] != 0x09 || (b[1] != 0x00 && b[1] != 0x02 && b[1] != 0x04)) {
        return false;
    }
    const int len = b[2] | (b[3] << 8);
    return len >= 4 && len <= 16;
}

}  // namespace

Parsed parse_zip(Bytes bytes, SheetKind& kind) {
    std::string why;
    std::unique_ptr<ZipArchive> zip = ZipArchive::open(bytes, why);
    if (zip == nullptr) {
        return damaged(why);
    }
    if (zip->has("xl/workbook.xml") || zip->has("_rels/.rels")) {
        if (!zip->has("word/document.xml") && !zip->has("ppt/presentation.xml")) {
            kind = SheetKind::Xlsx;
            return parse_xlsx(*zip);
        }
    }
    if (zip->has("content.xml")) {
        std::string mime;
        if (zip->has("mimetype") && zip->read_all("mimetype", mime) == ZipStream::State::Open &&
            !mime.starts_with("application/vnd.oasis.opendocument.spreadsheet")) {
            return failed(SheetError::OtherZip);
        }
        kind = SheetKind::Ods;
        return parse_ods(*zip);
    }
    return failed(SheetError::OtherZip);
}

}  // namespace sheet

SheetResult parse_sheet(std::span<const std::uint8_t> bytes, std::string_view path) {
    using namespace sheet;
    SheetResult r;
    Parsed p;
    if (bytes.empty()) {
        p = failed(SheetError::Empty);
    } else if (starts(bytes, "\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1")) {
        r.kind = SheetKind::Xls;
        p = parse_xls(bytes);
    } else if (starts(bytes, "PK\x03\x04") || starts(bytes, "PK\x05\x06")) {
        p = parse_zip(bytes, r.kind);
    } else if (bare_old_biff(bytes)) {
        p = failed(SheetError::OldExcel);
    } else {
        const std::string_view s(reinterpret_cast<const char*>(bytes.data()),
                                 std::min<std::size_t>(bytes.size(), 4096));
        const std::string what = binary_kind(bytes);
        if (!what.empty()) {
            p = failed(SheetError::NotSpreadsheet, what);
        } else if (looks_html(s.starts_with("\xEF\xBB\xBF") ? s.substr(3) : s)) {
            p = failed(SheetError::Html);
        } else if (s.find('\0') != std::string_view::npos) {
            p = failed(SheetError::NotSpreadsheet);
        } else {
            r.kind = SheetKind::Csv;
            p = parse_csv(bytes);
        }
    }
    r.error = p.error;
    if (p.error != SheetError::None) {
        r.message = sheet_error_message(p.error, path, p.d1, p.d2);
    } else {
        r.sheet = std::move(p.sheet);
    }
    return r;
}

SheetResult read_sheet(const std::string& path) {
    auto failed_with = [&](SheetError e, const std::string& d1) {
        SheetResult r;
        r.error = e;
        r.message = sheet_error_message(e, path, d1);
        return r;
    };
    const WholeFile file = read_whole_file(path, static_cast<std::size_t>(kMaxSheetFileBytes));
    switch (file.failure) {
        case WholeFile::Failure::None:
            break;
        case WholeFile::Failure::Open:
            return failed_with(SheetError::OpenFailed, file.reason);
        case WholeFile::Failure::Read:
            return failed_with(SheetError::ReadFailed, file.reason);
        case WholeFile::Failure::TooLarge:
            return failed_with(SheetError::TooLarge, std::to_string(kMaxSheetFileBytes >> 20));
    }
    return parse_sheet(file.bytes, path);
}

}  // namespace qvprt::files
