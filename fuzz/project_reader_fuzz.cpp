// Any bytes given to the project reader: no crash, and a file it accepts is exactly the file the
// writer makes of what it read.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "files/project_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace qvprt;
    const std::span<const std::uint8_t> bytes(data, size);
    const files::ReadResult r = files::parse_project_file(bytes, model::JobSettings{}, "fuzz.qvk");
    if (!r.ok()) {
        if (!r.records.empty() || r.message.empty()) {
            std::abort();
        }
        return 0;
    }
    if (model::segment_count(r.records.head()) != r.count) {
        std::abort();
    }
    model::JobSettings s;
    s.spacing = r.settings.spacing;
    s.density = r.settings.density;
    s.cut_mode = r.settings.cut_mode;
    s.arrangement = r.settings.arrangement;
    s.material_index = r.settings.material_index.value();
    s.material_param_index = r.settings.material_param_index.value();
    const auto again = files::encode_project_file(s, r.records.head());
    if (again.size() != size || !std::equal(again.begin(), again.end(), data)) {
        std::abort();
    }
    return 0;
}
