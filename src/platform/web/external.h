#pragma once
// The page's external object: methods the client offers to page script as window.external.NAME(...).
// A call is synchronous for the page: it returns once the client's method has returned, with its
// result, or throws a script error when the method failed.

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

// A value crossing between page script and the client. Objects and functions are opaque: the client
// learns only that one was passed.
struct ExternalValue {
    enum class Type { Undefined, Null, Boolean, Number, String, Object };

    Type type = Type::Undefined;
    bool boolean = false;
    double number = 0;
    std::wstring text;

    static ExternalValue Null() { return Of(Type::Null); }
    static ExternalValue Object() { return Of(Type::Object); }
    static ExternalValue Boolean(bool value) {
        ExternalValue v = Of(Type::Boolean);
        v.boolean = value;
        return v;
    }
    static ExternalValue Number(double value) {
        ExternalValue v = Of(Type::Number);
        v.number = value;
        return v;
    }
    static ExternalValue String(std::wstring value) {
        ExternalValue v = Of(Type::String);
        v.text = std::move(value);
        return v;
    }

private:
    static ExternalValue Of(Type type) {
        ExternalValue v;
        v.type = type;
        return v;
    }
};

// Sets `result` (undefined unless set) and returns true, or returns false to fail the call.
using ExternalMethod = std::function<bool(const std::vector<ExternalValue>& args, ExternalValue& result)>;

// The methods of one page's external object, found by name without regard to case.
class ExternalObject {
public:
    // Adds `method` under `name`, replacing one of the same name in any letter case.
    void Add(const std::wstring& name, ExternalMethod method);
    bool Has(const std::wstring& name) const;
    // False when there is no such method, or it failed or threw.
    bool Call(const std::wstring& name, const std::vector<ExternalValue>& args, ExternalValue& result) const;

private:
    const ExternalMethod* Find(const std::wstring& name) const;

    std::vector<std::pair<std::wstring, ExternalMethod>> m_methods;  // keyed by the lower-case name
};

}  // namespace platform
