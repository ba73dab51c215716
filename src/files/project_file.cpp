#include "files/project_file.h"

#include <array>
#include <cstring>

#include "files/file_messages.h"
#include "files/read_checks.h"
#include "files/safe_write.h"
#include "text/byte_cursor.h"

namespace qvprt::files {

using model::SegmentNode;

namespace {

void append_header(std::vector<std::uint8_t>& out, const ProjectHeader& h) {
    const std::size_t at = out.size();
    out.resize(at + kProjectHeaderBytes);
    text::ByteWriter w(out.data() + at);
    project_header_fields(w, h);
}

void append_record(std::vector<std::uint8_t>& out, const SegmentNode& n) {
    const std::size_t at = out.size();
    out.resize(at + project_record_bytes(n));
    text::ByteWriter w(out.data() + at);
    project_record_fields(w, n);
}

}  // namespace

std::vector<std::uint8_t> encode_project_file(const model::JobSettings& s,
                                              const SegmentNode* head) {
    std::vector<std::uint8_t> out;
    const int count = model::segment_count(head);
    out.reserve(kProjectHeaderBytes +
                static_cast<std::size_t>(count) * (kProjectRecordBytes + model::kMaxTextBytes));
    ProjectHeader h;
    h.spacing = s.spacing;
    h.density = s.density;
    h.cut_mode = s.cut_mode;
    h.arrangement = s.arrangement;
    h.material_index = s.material_index;
    h.material_param_index = s.material_param_index;
    // The records written, so that count and records always agree.
    h.count = count;
    append_header(out, h);
    for (const SegmentNode* n = head; n != nullptr; n = n->next) {
        append_record(out, *n);
    }
    return out;
}

WriteResult save_project_file(const std::string& path, const model::JobSettings& s,
                              const SegmentNode* head) {
    return write_file_safely(path, encode_project_file(s, head));
}

ReadResult parse_project_file(std::span<const std::uint8_t> bytes,
                              const model::JobSettings& defaults, std::string_view path) {
    ReadResult r;
    r.kind = FileKind::Project;
    ReadFailure fail{r, path};
    if (bytes.size() < kProjectHeaderBytes) {
        return fail(ReadError::TruncatedHeader);
    }
    const std::uint8_t* p = bytes.data();
    ProjectHeader h;
    text::ByteReader header(p, kProjectHeaderBytes);
    project_header_fields(header, h);
    FileJobSettings& fs = r.settings;
    fs.spacing = h.spacing;
    fs.density = h.density;
    fs.cut_mode = h.cut_mode;
    fs.arrangement = h.arrangement;
    const std::int32_t material = h.material_index;
    const std::int32_t param = h.material_param_index;
    const std::int32_t count = h.count;
    // The settings first: they tell a file of another kind at once.
    if (!check_common_settings(fs, fail)) {
        return r;
    }
    const model::Material* m = model::material_at(material);
    if (m == nullptr) {
        return fail.setting(JobField::MaterialIndex, material);
    }
    if (m->param_at(param) == nullptr) {
        return fail.setting(JobField::MaterialParamIndex, param);
    }
    fs.material_index = material;
    fs.material_param_index = param;
    if (count < 0 || count > model::kMaxRows) {
        return fail(ReadError::BadCount, std::to_string(count));
    }

    std::size_t at = kProjectHeaderBytes;
    SegmentNode* tail = nullptr;
    for (int i = 1; i <= count; ++i) {
        const std::size_t left = bytes.size() - at;
        // Up to the text's length byte.
        if (left < kProjectTextLengthAt + 1) {
            return fail(ReadError::TruncatedRecord, std::to_string(i));
        }
        const std::uint8_t n = p[at + kProjectTextLengthAt];
        if (n > model::kMaxTextBytes) {
            return fail(ReadError::TextTooLong, std::to_string(i), std::to_string(n));
        }
        if (left < kProjectRecordBytes + n) {
            return fail(ReadError::TruncatedRecord, std::to_string(i));
        }
        tail = append_record(r, defaults);
        text::ByteReader record(p + at, kProjectRecordBytes + n);
        project_record_fields(record, *tail);
        finish_record(r, *tail);
        at += kProjectRecordBytes + n;
    }
    if (at != bytes.size()) {
        return fail(ReadError::TrailingBytes);
    }
    return r;
}

}  // namespace qvprt::files
