// The library's exports: every entry point of the list, __stdcall under its
// plain name. One that plinth::entry implements passes its arguments on; any
// other answers "not supported" without touching them.
#include "Exports.h"

#include <type_traits>

namespace plinth {

struct NotImplemented {};

namespace {

template <typename Result>
Result NotSupported()
{
    if constexpr (std::is_same_v<Result, double>)
        return PLINTH_NOT_SUPPORTED_REAL;
    else if constexpr (std::is_same_v<Result, const char*>)
        return "";
    else
        return PLINTH_NOT_SUPPORTED;
}

// Calls the implementation, or answers "not supported" where the call finds
// nothing but the stand-in below.
template <typename Result, typename Call>
Result Answer(Call call)
{
    if constexpr (std::is_same_v<decltype(call()), NotImplemented>)
        return NotSupported<Result>();
    else
        return call();
}

} // namespace

// A stand-in for every entry point, never defined. Overload resolution takes
// it only where plinth::entry declares no implementation: an ellipsis ranks
// below any argument's conversion, and a template below a plain function.
namespace unimplemented {
#define PLINTH_ENTRY(position, result, name, parameters, arguments) \
    template <typename = void> NotImplemented name(...);
#include "PlinthEntries.def"
} // namespace unimplemented

namespace lookup {
using namespace entry;
using namespace unimplemented;
} // namespace lookup

} // namespace plinth

#define PLINTH_ENTRY(position, result, name, parameters, arguments)                           \
    extern "C" __declspec(dllexport) result __stdcall name parameters                         \
    {                                                                                         \
        return plinth::Answer<result>([&] { return plinth::lookup::name arguments; });        \
    }
#include "PlinthEntries.def"
