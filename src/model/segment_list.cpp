#include "model/segment_list.h"

#include <cstdio>

#include "text/bytes.h"

namespace qvprt::model {

void set_repeat(SegmentNode& n, int repeat) {
    n.repeat = static_cast<std::uint16_t>(repeat);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", repeat);
    text::copy_field(n.repeat_text, buf);
    std::snprintf(buf, sizeof buf, "%.4d", repeat);
    text::copy_field(n.repeat_text4, buf);
}

void init_segment_defaults(SegmentNode& n, const JobSettings& s) {
    n = SegmentNode{};
    n.auto_length = s.default_auto_length;
    n.auto_font = s.default_auto_font;
    n.decoration = s.default_decoration;
    n.direction = s.default_direction;
    n.font_size = s.default_font_size;
    n.material = s.material_code;
    n.length_text = s.default_length_text;
    n.material_param = s.material_param;
    set_repeat(n, s.default_repeat);
    n.length_dots = static_cast<std::uint16_t>(s.default_length_mm * dots_per_mm);
    n.feed_dots = n.length_dots;
}

SegmentNode* create_first_segment(const JobSettings& s) {
    auto* n = new SegmentNode;
    init_segment_defaults(*n, s);
    return n;
}

SegmentNode* insert_segment_after(const JobSettings& s, SegmentNode* record) {
    SegmentNode* n = create_first_segment(s);
    if (record == nullptr) {
        return n;
    }
    if (record->next != nullptr) {
        n->next = record->next;
        record->next->prev = n;
    }
    record->next = n;
    n->prev = record;
    return n;
}

SegmentNode* segment_at(SegmentNode* head, int index) {
    if (head == nullptr) {
        return nullptr;
    }
    SegmentNode* n = head;
    if (index < 0) {
        while (n->next != nullptr) {
            n = n->next;
        }
        return n;
    }
    for (int i = 0; i < index && n->next != nullptr; ++i) {
        n = n->next;
    }
    return n;
}

SegmentNode* remove_segment(SegmentNode* head, SegmentNode* record) {
    (void)head;
    if (record == nullptr) {
        return nullptr;
    }
    SegmentNode* prev = record->prev;
    SegmentNode* next = record->next;
    SegmentNode* result = nullptr;
    if (prev == nullptr && next != nullptr) {
        next->prev = nullptr;
        result = next;
    } else if (prev != nullptr && next != nullptr) {
        prev->next = next;
        next->prev = prev;
        result = next;
    } else if (prev != nullptr) {
        prev->next = nullptr;
        result = prev;
    }
    delete record;
    return result;
}

void free_segments(SegmentNode* head) {
    SegmentNode* n = segment_at(head, -1);
    while (n != nullptr) {
        SegmentNode* p = n->prev;
        delete n;
        n = p;
    }
}

int segment_count(const SegmentNode* head) {
    int count = 0;
    for (; head != nullptr; head = head->next) {
        ++count;
    }
    return count;
}

std::uint8_t count_wide_chars(const SegmentNode& n) {
    int high = 0;
    const std::size_t len = n.text_length < n.text.size() ? n.text_length : n.text.size();
    for (std::size_t i = 0; i < len; ++i) {
        if (static_cast<unsigned char>(n.text[i]) >= 0xA0) {
            ++high;
        }
    }
    return static_cast<std::uint8_t>(high / 2);
}

}  // namespace qvprt::model
