#include "host/controls/text_selection.h"

#include <algorithm>

#include <tavorin/host/error.h>

#include "host/property_table.h"

namespace tavorin::host::detail {

void TextSelection::SetText(std::string newText) {
  text = std::move(newText);
  start = 0;
  length = 0;
}

void TextSelection::SetStart(std::int32_t newStart) {
  if (newStart < 0) RaiseHostError(errors::kInvalidPropertyValue);
  start = std::min(newStart, Length());
  length = 0;
}

void TextSelection::SetLength(std::int32_t newLength) {
  if (newLength < 0) RaiseHostError(errors::kInvalidPropertyValue);
  length = std::min(newLength, Length() - start);
}

std::string TextSelection::Selected() const {
  const std::size_t from = Offset(start);
  return text.substr(from, Offset(start + length) - from);
}

void TextSelection::ReplaceSelection(const std::string& replacement) {
  const std::size_t from = Offset(start);
  text.replace(from, Offset(start + length) - from, replacement);
  start += static_cast<std::int32_t>(CharacterCount(replacement));
  length = 0;
}

std::int32_t TextSelection::Length() const {
  return static_cast<std::int32_t>(CharacterCount(text));
}

std::size_t TextSelection::Offset(std::int32_t position) const {
  std::size_t offset = 0;
  for (std::int32_t seen = 0; offset < text.size(); ++offset) {
    const bool startsCharacter = (static_cast<unsigned char>(text[offset]) & 0xC0) != 0x80;
    if (startsCharacter && seen++ == position) break;
  }
  return offset;
}

}  // namespace tavorin::host::detail
