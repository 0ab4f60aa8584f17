#include "catalogue/default_literal.h"

#include <string>

namespace tavorin::detail {

host::Variant DefaultValue(const DefaultLiteral& literal) {
  switch (literal.kind) {
    case DefaultKind::Integer:
      return host::Variant::Integer(static_cast<std::int16_t>(literal.whole));
    case DefaultKind::Long:
      return host::Variant::Long(literal.whole);
    case DefaultKind::Double:
      return host::Variant::Double(literal.real);
    case DefaultKind::String:
      return host::Variant::String(std::string(literal.text));
    case DefaultKind::Boolean:
      return host::Variant::Boolean(literal.whole != 0);
    case DefaultKind::Nothing:
      return host::Variant::Object(nullptr);
  }
  return {};
}

}  // namespace tavorin::detail
