#include "model/job_settings.h"

#include <string>

#include "model/segment_list.h"
#include "text/bytes.h"

namespace qvprt::model {

std::vector<std::string> material_param_entries(int material_position) {
    if (material_position == 1) {
        return {"6 mm", "9 mm", "12mm"};
    }
    return {"3.0", "4.0", "5.0", "6.0"};
}

double material_strip_height_mm(int material_position) {
    return material_position == 1 ? 9.0 : 6.5;
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
    choice.param_selection = 1;
    choice.preview_height_mm = material_strip_height_mm(position);

    s.material_index = position;
    if (position == 1) {
        text::copy_field(s.material_code, "LAB");
        text::copy_field(s.material_param, "9");
    } else if (position == 2) {
        text::copy_field(s.material_code, "STU");
        text::copy_field(s.material_param, "4");
    } else if (position == 0) {
        text::copy_field(s.material_code, "TUB");
        text::copy_field(s.material_param, "4");
    }
    s.material_param_index = 1;
    copy_material_to_segments(s, head);
    return choice;
}

void select_material_param(JobSettings& s, SegmentNode* head, int position) {
    if (s.material_code[0] != 'L') {
        text::copy_field(s.material_param, std::to_string(position + 3));
    } else if (position == 0) {
        text::copy_field(s.material_param, "6");
    } else if (position == 1) {
        text::copy_field(s.material_param, "9");
    } else {
        text::copy_field(s.material_param, "12");
    }
    s.material_param_index = position;
    copy_material_to_segments(s, head);
}

void select_cut_mode(JobSettings& s, int position) {
    switch (position) {
        case 0:
            s.cut_mode = 'N';
            break;
        case 2:
            s.cut_mode = 'L';
            break;
        default:
            s.cut_mode = 'C';
            break;
    }
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
