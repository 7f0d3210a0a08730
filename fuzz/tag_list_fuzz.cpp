// The tag list as stored: any stored texts load; what is saved loads back as
// the same list, and saving that again writes the same texts.
#include <map>

#include "fuzz_input.h"
#include "tag_list.h"

namespace {

using Store = std::map<std::string, std::string>;

tagset::AssignmentList Load(const Store& store)
{
    return tagset::LoadAssignments([&](const std::string& name, size_t bufferSize) {
        const auto it = store.find(name);
        // A text that does not fit the read buffer (terminator included) reads as empty.
        return it == store.end() || it->second.size() >= bufferSize ? std::string() : it->second;
    });
}

Store Save(const tagset::AssignmentList& list)
{
    Store store;
    tagset::SaveAssignments(list,
                            [&](const std::string& name, const std::string& text) { store[name] = text; });
    return store;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input in(data, size);
    Store stored;
    for (size_t n = 0; in.Left() > 0 && n < 120; ++n) {
        const size_t slot = in.Take<uint8_t>() % 110;
        const bool element = in.Take<uint8_t>() & 1;
        const size_t length = in.Take<uint16_t>() % 1100;
        stored[element ? tagset::ElementValueName(slot) : tagset::ValueValueName(slot)] = in.Text(length);
    }
    const tagset::AssignmentList list = Load(stored);
    for (const auto& a : list)
        fuzz::Require(!a.element.empty(), "loaded entries have an element");
    const Store saved = Save(list);
    const tagset::AssignmentList again = Load(saved);
    fuzz::Require(again.size() == list.size(), "the same number of entries");
    for (size_t i = 0; i < list.size(); ++i)
        fuzz::Require(again[i].element == list[i].element && again[i].value == list[i].value,
                      "the same entries");
    fuzz::Require(Save(again) == saved, "saving is stable");
    return 0;
}
