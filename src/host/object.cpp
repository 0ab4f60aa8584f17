#include <tavorin/host/object.h>

#include <tavorin/host/error.h>

namespace tavorin::host {

Variant Object::GetProperty(const std::string&) const { RaiseHostError(errors::kNoSuchMember); }

void Object::SetProperty(const std::string&, const Variant&) {
  RaiseHostError(errors::kNoSuchMember);
}

Variant Object::CallMethod(const std::string&, const std::vector<Variant>&) {
  RaiseHostError(errors::kNoSuchMember);
}

}  // namespace tavorin::host
