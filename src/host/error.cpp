#include <tavorin/host/error.h>

#include <utility>

namespace tavorin::host {

RuntimeError::RuntimeError(int number, std::string description, std::string source,
                           std::string helpFile, int helpContext)
    : std::runtime_error(description),
      number_(number),
      description_(std::move(description)),
      source_(std::move(source)),
      help_file_(std::move(helpFile)),
      help_context_(helpContext) {}

std::string HostErrorDescription(int number) {
  struct Entry {
    int number;
    const char* description;
  };
  static constexpr Entry kDescriptions[] = {
      {5, "Invalid procedure call or argument"},
      {6, "Overflow"},
      {7, "Out of memory"},
      {9, "Subscript out of range"},
      {13, "Type mismatch"},
      {53, "File not found"},
      {61, "Disk full"},
      {68, "Device unavailable"},
      {70, "Permission denied"},
      {75, "Path/File access error"},
      {76, "Path not found"},
      {91, "Object variable or With block variable not set"},
      {94, "Invalid use of Null"},
      {321, "Invalid file format"},
      {343, "Object not an array"},
      {380, "Invalid property value"},
      {381, "Invalid property array index"},
      {383, "Property is read-only"},
      {438, "Object doesn't support this property or method"},
      {481, "Invalid picture"},
      {545, "Unable to bind to field or DataMember"},
      {3001, "Invalid argument"},
      {3021, "No current record"},
      {3024, "Couldn't find file"},
      {3078, "Cannot find the input table or query"},
      {3265, "Item not found in this collection"},
  };
  for (const Entry& entry : kDescriptions) {
    if (entry.number == number) return entry.description;
  }
  return "Application-defined or object-defined error";
}

void RaiseHostError(int number) { throw RuntimeError(number, HostErrorDescription(number)); }

}  // namespace tavorin::host
