#include "cli/dump_json.h"

#include <array>
#include <cstdio>
#include <string_view>
#include <type_traits>

#include "printing/job_summary.h"
#include "text/gbk.h"

namespace qvprt::cli {

namespace {

std::string Hex(const char* bytes, std::size_t n) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string s;
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        s += kDigits[b >> 4];
        s += kDigits[b & 15];
    }
    return s;
}

std::string Quoted(std::string_view utf8) {
    std::string s = "\"";
    for (const char c : utf8) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += c;
        } else if (b < 0x20 || b == 0x7f) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", b);
            s += buf;
        } else {
            s += c;
        }
    }
    return s + '"';
}

// Writes the members of one object, one per line.
class ObjectWriter {
  public:
    ObjectWriter(std::string& out, const char* indent) : out_(out), indent_(indent) {}
    ~ObjectWriter() { out_ += '\n'; }
    ObjectWriter(const ObjectWriter&) = delete;
    ObjectWriter& operator=(const ObjectWriter&) = delete;

    template <typename T>
    void Field(const char* name, const T& value) {
        if constexpr (std::is_same_v<T, char>) {
            Raw(name, Quoted(Hex(&value, 1)));
        } else if constexpr (std::is_integral_v<T>) {
            Raw(name, std::to_string(static_cast<long long>(value)));
        } else {
            Raw(name, Quoted(Hex(value.data(), value.size())));
        }
    }
    void Raw(const char* name, const std::string& json) {
        out_ += first_ ? "" : ",\n";
        first_ = false;
        out_ += indent_;
        out_ += Quoted(name);
        out_ += ": ";
        out_ += json;
    }

  private:
    std::string& out_;
    const char* indent_;
    bool first_ = true;
};

void Settings(std::string& out, const model::JobSettings& s) {
    ObjectWriter w(out, "    ");
    w.Field("material_code", s.material_code);
    w.Field("material_index", s.material_index);
    w.Field("material_param", s.material_param);
    w.Field("material_param_index", s.material_param_index);
    w.Field("cut_mode", s.cut_mode);
    w.Field("spacing", s.spacing);
    w.Field("arrangement", s.arrangement);
    w.Field("density", s.density);
    w.Field("copies", s.copies);
    w.Field("default_length_text", s.default_length_text);
    w.Field("default_length_mm", s.default_length_mm);
    w.Field("default_auto_length", s.default_auto_length);
    w.Field("default_auto_font", s.default_auto_font);
    w.Field("default_font_size", s.default_font_size);
    w.Field("default_repeat", s.default_repeat);
    w.Field("default_decoration", s.default_decoration);
    w.Field("default_direction", s.default_direction);
}

void Segment(std::string& out, const model::SegmentNode& n) {
    ObjectWriter w(out, "      ");
    w.Field("reserved0", n.reserved0);
    w.Field("has_serial", n.has_serial);
    w.Field("serial_natural", n.serial_natural);
    w.Field("serial_padded", n.serial_padded);
    w.Field("serial_upper", n.serial_upper);
    w.Field("serial_lower", n.serial_lower);
    w.Field("double_line", n.double_line);
    w.Field("script_count", n.script_count);
    w.Field("superscript_count", n.superscript_count);
    w.Field("subscript_count", n.subscript_count);
    w.Field("auto_length", n.auto_length);
    w.Field("auto_font", n.auto_font);
    w.Field("wide_char_count", n.wide_char_count);
    w.Field("decoration", n.decoration);
    w.Field("serial_width", n.serial_width);
    w.Field("spare15", n.spare15);
    w.Field("spare16", n.spare16);
    w.Field("file_text_length", n.file_text_length);
    w.Field("text_length", n.text_length);
    w.Field("spare_mark", n.spare_mark);
    w.Field("direction", n.direction);
    w.Field("font_size", n.font_size);
    w.Field("char_scale", n.char_scale);
    w.Field("material", n.material);
    w.Field("length_text", n.length_text);
    w.Field("material_param", n.material_param);
    w.Field("repeat_text", n.repeat_text);
    w.Field("repeat", n.repeat);
    w.Field("content_dots", n.content_dots);
    w.Field("content_dots2", n.content_dots2);
    w.Field("length_dots", n.length_dots);
    w.Field("feed_dots", n.feed_dots);
    w.Field("total_count", n.total_count);
    w.Field("serial_count", n.serial_count);
    w.Field("serial_start", n.serial_start);
    w.Field("serial_end", n.serial_end);
    w.Field("text", n.text);
    const std::size_t used = n.text_length < n.text.size() ? n.text_length : n.text.size();
    w.Raw("text_utf8", Quoted(text::gbk_to_utf8(std::string_view(n.text.data(), used))));
    w.Field("repeat_text4", n.repeat_text4);
    w.Field("enabled", n.enabled);
    w.Field("is_current", n.is_current);
}

// The figures of the window's summary line after the preview.
void Summary(std::string& out, const model::JobSettings& settings, const model::SegmentNode* head) {
    const printing::JobSummary s = printing::summarize_job(head, settings);
    const std::int64_t tenths = printing::material_tenths_of_metre(s);
    ObjectWriter w(out, "    ");
    w.Field("segments", s.segments);
    w.Field("printed", s.printed);
    w.Field("feed_dots", s.feed_dots);
    w.Raw("material_m", std::to_string(tenths / 10) + "." + std::to_string(tenths % 10));
}

}  // namespace

std::string dump_json(const model::JobSettings& settings, const model::SegmentNode* head) {
    std::string out = "{\n  \"settings\": {\n";
    Settings(out, settings);
    out += "  },\n  \"summary\": {\n";
    Summary(out, settings, head);
    out += "  },\n  \"segments\": [";
    for (const model::SegmentNode* n = head; n != nullptr; n = n->next) {
        out += n == head ? "\n    {\n" : ",\n    {\n";
        Segment(out, *n);
        out += "    }";
    }
    out += head != nullptr ? "\n  ]\n}\n" : "]\n}\n";
    return out;
}

}  // namespace qvprt::cli
