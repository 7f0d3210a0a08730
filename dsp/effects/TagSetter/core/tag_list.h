// The tag setter's assignment list and how it is kept in the settings store:
// numbered value pairs "Tag-SetVal-Element-NN" / "Tag-SetVal-Value-NN" with an
// empty element after the last entry as the end mark. No Windows here.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace tagset {

// Read buffers of the stored texts (terminator included); a longer stored
// text cannot be read and comes back empty.
constexpr size_t kElementBuffer = 260;
constexpr size_t kValueBuffer = 1000;

extern const char* const kPlaceholderValue;  // "Type Value Here"
extern const char* const kElementChoices[7]; // in the chooser's insertion order
extern const char* const kDefaultElement;    // "COMMENT"

struct Assignment
{
    std::string element; // tag element name, e.g. "ARTIST"
    std::string value;   // the text to give it
};
using AssignmentList = std::vector<Assignment>;

std::string ElementValueName(size_t n); // "Tag-SetVal-Element-%02d"
std::string ValueValueName(size_t n);   // "Tag-SetVal-Value-%02d"

// Reads a stored text (into a buffer of the given size) / writes one.
using TextReader = std::function<std::string(const std::string& name, size_t bufferSize)>;
using TextWriter = std::function<void(const std::string& name, const std::string& text)>;

// Entries from 00 upward until the first missing or empty element.
AssignmentList LoadAssignments(const TextReader& read);
// Every entry in order, then an empty element numbered after the last one.
// Texts are cut to what the read buffers can hold.
void SaveAssignments(const AssignmentList& list, const TextWriter& write);

// A finished label edit is taken when it names a row and brings a present,
// non-empty text; otherwise the value stays as it was.
bool EditAccepted(int row, const char* text);

} // namespace tagset
