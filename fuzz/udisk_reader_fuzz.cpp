// Any bytes given to the U-disk print file reader: no crash, and what it accepts is whole.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "files/udisk_reader.h"
#include "model/segment_list.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvprt;
    const std::span<const std::uint8_t> bytes(data, size);
    const files::ReadResult r = files::parse_udisk_file(bytes, model::JobSettings{}, "fuzz.qvu");
    if (!r.ok()) {
        if (!r.records.empty() || r.message.empty()) {
            std::abort();
        }
        return 0;
    }
    if (model::segment_count(r.records.head()) != r.count || r.count > model::kMaxRows) {
        std::abort();
    }
    for (const model::SegmentNode* n = r.records.head(); n != nullptr; n = n->next) {
        if (n->text_length > model::kMaxTextBytes || n->enabled != 1) {
            std::abort();
        }
    }
    if (r.settings.density < 1 || r.settings.density > 15 || !r.settings.copies ||
        !model::copies_in_range(*r.settings.copies)) {
        std::abort();
    }
    return 0;
}
