#include "files/file_messages.h"

#include <cerrno>
#include <string>
#include <system_error>

#include "model/segment_list.h"
#include "model/stream_layout.h"
#include "model/text_codes.h"
#include "text/gbk.h"

namespace qvprt::files {

namespace {

// "%1", "%2", "%3" stand for the path and the two details; the limits come from the checks'
// own constants.
std::string read_error_template(ReadError e) {
    using std::to_string;
    switch (e) {
        case ReadError::None:
            return "";
        case ReadError::OpenFailed:
            return "无法打开文件“%1”：%2。";
        case ReadError::ReadFailed:
            return "无法读取文件“%1”：%2。";
        case ReadError::TooLarge:
            return "文件“%1”太大，不是本程序保存的文件，未读入任何内容。";
        case ReadError::TruncatedHeader:
            return "文件“%1”不完整：文件在文件头结束之前就结束了，未读入任何内容。";
        case ReadError::TruncatedRecord:
            return "文件“%1”不完整：文件在第%2段结束之前就结束了，未读入任何内容。";
        case ReadError::TruncatedBlock:
            return "文件“%1”不完整：文件在第%2块结束之前就结束了，未读入任何内容。";
        case ReadError::TextTooLong:
            return "文件“%1”已损坏：第%2段的文字长度为%3字节，超过了" +
                   to_string(model::kMaxTextBytes) + "字节，未读入任何内容。";
        case ReadError::BadCount:
            return "文件“%1”已损坏：段数为%2，不在0到" + to_string(model::kMaxRows) +
                   "之间，未读入任何内容。";
        case ReadError::BadSetting:
            return "文件“%1”已损坏：%2的值%3无效，未读入任何内容。";
        case ReadError::TrailingBytes:
            return "文件“%1”已损坏：最后一段之后还有多余的数据，未读入任何内容。";
        case ReadError::NotUdiskFile:
            return "文件“%1”不是U盘打印文件，未读入任何内容。";
        case ReadError::BadBlockHeader:
            return "文件“%1”已损坏：第%2块的块头不是02 41，未读入任何内容。";
        case ReadError::BadBlockLength:
            return "文件“%1”已损坏：第%2块的长度为%3字节，小于" +
                   to_string(model::kStreamMinBytes) + "字节，未读入任何内容。";
        case ReadError::BlockOverrun:
            return "文件“%1”已损坏：第%2块中的段超出了块的长度，未读入任何内容。";
        case ReadError::EmptyBlock:
            return "文件“%1”已损坏：第%2块中没有段，未读入任何内容。";
        case ReadError::BlockSettingsDiffer:
            return "文件“%1”已损坏：第%2块的打印设置与第1块不同，未读入任何内容。";
        case ReadError::BadBlockEnd:
            return "文件“%1”已损坏：第%2块的末尾不是结束标记E，未读入任何内容。";
    }
    return "";
}

}  // namespace

const char* job_field_name(JobField field) {
    switch (field) {
        case JobField::Spacing:
            return "字符间距";
        case JobField::Density:
            return "打印浓度";
        case JobField::CutMode:
            return "切割方式";
        case JobField::Arrangement:
            return "排列方式";
        case JobField::MaterialIndex:
            return "材料";
        case JobField::MaterialParamIndex:
            return "材料参数";
        case JobField::Copies:
            return "打印份数";
    }
    return "?";
}

namespace {

std::string fill(std::string_view pattern, std::string_view p1, std::string_view p2,
                 std::string_view p3) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' &&
            pattern[i + 1] <= '3') {
            out += pattern[i + 1] == '1' ? p1 : pattern[i + 1] == '2' ? p2 : p3;
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

}  // namespace

std::string gbk_for_message(std::string_view utf8) {
    std::u16string s = text::utf8_to_utf16(utf8);
    for (;;) {
        text::EncodeResult r = text::encode_gbk(s);
        if (r.ok) {
            return r.bytes;
        }
        // Replace the refused code point (one or two UTF-16 units) and try again.
        std::size_t unit = 0;
        for (std::size_t cp = 0; cp < r.refused_index && unit < s.size(); ++cp) {
            unit += (s[unit] >= 0xD800 && s[unit] <= 0xDBFF && unit + 1 < s.size()) ? 2 : 1;
        }
        if (unit >= s.size()) {
            return "?";
        }
        const std::size_t width =
            (s[unit] >= 0xD800 && s[unit] <= 0xDBFF && unit + 1 < s.size()) ? 2 : 1;
        s.replace(unit, width, u"?");
    }
}

std::string system_reason(int err) {
    switch (err) {
        case EACCES:
        case EPERM:
            return "没有访问权限";
        case ENOSPC:
            return "磁盘已满，没有剩余空间";
        case ENOENT:
            return "文件或文件夹不存在";
        case EISDIR:
            return "这是一个文件夹";
        case EROFS:
            return "磁盘是只读的";
        default:
            return std::generic_category().message(err);
    }
}

std::string not_a_regular_file_reason() {
    return "这不是一个普通文件";
}

std::string message_caption() {
    return gbk_for_message("提示");
}

std::string read_error_message(ReadError e, std::string_view path, std::string_view d1,
                               std::string_view d2) {
    return gbk_for_message(fill(read_error_template(e), path, d1, d2));
}

namespace {

const char* sheet_error_template(SheetError e, bool detail) {
    switch (e) {
        case SheetError::None:
            return "";
        case SheetError::OpenFailed:
            return "无法打开文件“%1”：%2。";
        case SheetError::ReadFailed:
            return "无法读取文件“%1”：%2。";
        case SheetError::Empty:
            return "文件“%1”是空文件，未读入任何内容。";
        case SheetError::TooLarge:
            return "文件“%1”超过%2MB，不像是一份线号表，未读入任何内容。";
        case SheetError::NotSpreadsheet:
            return detail ? "文件“%1”是%2，不是电子表格，未读入任何内容。"
                          : "文件“%1”不是电子表格（.xls、.xlsx、.ods或CSV文件），未读入任何内容。";
        case SheetError::Html:
            return "文件“%1”是网页（HTML），不是电子表格，未读入任何内容。请在表格软件中把它另存为"
                   ".xlsx、.xls或CSV文件后再导入。";
        case SheetError::OtherZip:
            return "文件“%1”是ZIP压缩包，但不是.xlsx或.ods工作簿，未读入任何内容。";
        case SheetError::OtherCompound:
            return "文件“%"
                   "1”是OLE复合文档，但其中没有Excel工作簿（可能是Word文档等），未读入任何内容。";
        case SheetError::OldExcel:
            return "文件“%1”是Excel 95或更早版本的工作簿，本程序只能读取Excel "
                   "97及以后版本的.xls文件。"
                   "请把它另存为.xlsx或.xls文件后再导入。";
        case SheetError::Encrypted:
            return "工作簿“%1”设有密码保护，本程序无法读取。请取消密码后再导入。";
        case SheetError::PartTooLarge:
            return "文件“%1”中的“%2”解压后超过%3MB，可能是恶意构造的文件，未读入任何内容。";
        case SheetError::Damaged:
            return "文件“%1”已损坏：%2，未读入任何内容。";
        case SheetError::NoSheet:
            return "工作簿“%1”中没有工作表，未读入任何内容。";
    }
    return "";
}

}  // namespace

std::string sheet_error_message(SheetError e, std::string_view path, std::string_view d1,
                                std::string_view d2) {
    return gbk_for_message(fill(sheet_error_template(e, !d1.empty()), path, d1, d2));
}

std::string save_error_message(std::string_view path, std::string_view reason) {
    return gbk_for_message(
        fill("无法保存文件“%1”：%2。磁盘上原有的文件没有改动。", path, reason, ""));
}

std::string save_unconfirmed_message(std::string_view path, std::string_view reason) {
    return gbk_for_message(
        fill("文件“%1”已经写入，但无法确认它已写到磁盘上：%2。请再保存一次。", path, reason, ""));
}

}  // namespace qvprt::files
