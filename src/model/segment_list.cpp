#include "model/segment_list.h"

#include <cstdio>
#include <utility>

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

SegmentList::SegmentList(SegmentList&& other) noexcept
    : head_(std::exchange(other.head_, nullptr)),
      tail_(std::exchange(other.tail_, nullptr)),
      size_(std::exchange(other.size_, 0)) {}

SegmentList& SegmentList::operator=(SegmentList&& other) noexcept {
    if (this != &other) {
        clear();
        head_ = std::exchange(other.head_, nullptr);
        tail_ = std::exchange(other.tail_, nullptr);
        size_ = std::exchange(other.size_, 0);
    }
    return *this;
}

SegmentNode* SegmentList::insert_after(SegmentNode* record, const JobSettings& s) {
    auto* n = new SegmentNode;
    init_segment_defaults(*n, s);
    SegmentNode* next = record != nullptr ? record->next : head_;
    n->prev = record;
    n->next = next;
    if (record != nullptr) {
        record->next = n;
    } else {
        head_ = n;
    }
    if (next != nullptr) {
        next->prev = n;
    } else {
        tail_ = n;
    }
    ++size_;
    return n;
}

SegmentNode* SegmentList::erase(SegmentNode* record) {
    if (record == nullptr) {
        return nullptr;
    }
    SegmentNode* prev = record->prev;
    SegmentNode* next = record->next;
    if (prev != nullptr) {
        prev->next = next;
    } else {
        head_ = next;
    }
    if (next != nullptr) {
        next->prev = prev;
    } else {
        tail_ = prev;
    }
    --size_;
    delete record;
    return next != nullptr ? next : prev;
}

SegmentNode* SegmentList::splice_back(SegmentList&& other) {
    SegmentNode* first = other.head_;
    if (first == nullptr || &other == this) {
        return nullptr;
    }
    if (tail_ != nullptr) {
        tail_->next = first;
        first->prev = tail_;
    } else {
        head_ = first;
    }
    tail_ = other.tail_;
    size_ += other.size_;
    other.head_ = other.tail_ = nullptr;
    other.size_ = 0;
    return first;
}

void SegmentList::clear() {
    SegmentNode* n = tail_;
    while (n != nullptr) {
        SegmentNode* p = n->prev;
        delete n;
        n = p;
    }
    head_ = tail_ = nullptr;
    size_ = 0;
}

SegmentNode* SegmentList::at(int index) {
    return const_cast<SegmentNode*>(std::as_const(*this).at(index));
}

const SegmentNode* SegmentList::at(int index) const {
    if (index < 0 || index >= size_ - 1) {
        return tail_;
    }
    // Rows are appended and written near the end as often as near the start: walk from the
    // nearer end, so that filling a list row by row stays linear.
    const SegmentNode* n;
    if (index <= size_ / 2) {
        n = head_;
        for (int i = 0; i < index; ++i) {
            n = n->next;
        }
    } else {
        n = tail_;
        for (int i = size_ - 1; i > index; --i) {
            n = n->prev;
        }
    }
    return n;
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
