#include "model/job_settings.h"

#include <string>

#include "model/segment_list.h"
#include "text/bytes.h"

namespace qvprt::model {

std::vector<std::string> material_param_entries(int material_position) {
    const Material& m = material_or_tube(material_position);
    std::vector<std::string> entries;
    for (int i = 0; i < m.param_count; ++i) {
        entries.emplace_back(m.params[i].box_entry);
    }
    return entries;
}

double material_strip_height_mm(int material_position) {
    return material_or_tube(material_position).params[kDefaultParamPosition].preview_mm;
}

void copy_material_to_segments(const JobSettings& s, SegmentNode* head) {
    for (SegmentNode* n = head; n != nullptr; n = n->next) {
        n->material = s.material_code;
        n->material_param = s.material_param;
    }
}

MaterialChoice select_material(JobSettings& s, SegmentNode* head, int position) {
    MaterialChoice choice;
    choice.param_entries = material_param_entries(position);
    choice.param_selection = kDefaultParamPosition;
    choice.preview_height_mm = material_strip_height_mm(position);

    s.material_index = position;
    // A position outside the box keeps the material the job has.
    if (const Material* m = material_at(position)) {
        text::copy_field(s.material_code, m->code);
        text::copy_field(s.material_param, m->params[kDefaultParamPosition].code);
    }
    s.material_param_index = kDefaultParamPosition;
    copy_material_to_segments(s, head);
    return choice;
}

void select_material_param(JobSettings& s, SegmentNode* head, int position) {
    // The job's material code decides, as the records carry it; a position outside the box takes
    // the last parameter.
    const Material& m = material_or_tube(material_position(s.material_code[0]));
    const MaterialParam* p = m.param_at(position);
    text::copy_field(s.material_param, (p != nullptr ? *p : m.params[m.param_count - 1]).code);
    s.material_param_index = position;
    copy_material_to_segments(s, head);
}

void select_cut_mode(JobSettings& s, int position) {
    s.cut_mode = kCutModes.code_at(position);
}

void select_spacing(JobSettings& s, int position) {
    s.spacing = position;
}

void select_arrangement(JobSettings& s, int position) {
    s.arrangement = static_cast<std::uint8_t>(position);
}

void select_density(JobSettings& s, int position) {
    s.density = static_cast<std::uint8_t>(position + 1);
}

}  // namespace qvprt::model
