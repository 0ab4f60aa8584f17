#include <tavorin/host/object.h>

#include <tavorin/host/error.h>

namespace tavorin::host {

Variant Object::GetProperty(std::string_view) const { RaiseHostError(errors::kNoSuchMember); }

void Object::SetProperty(std::string_view, const Variant&) {
  RaiseHostError(errors::kNoSuchMember);
}

Variant Object::CallMethod(std::string_view, const std::vector<Variant>&) {
  RaiseHostError(errors::kNoSuchMember);
}

}  // namespace tavorin::host
