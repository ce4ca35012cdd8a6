#include "platform/web/external.h"

namespace platform {
namespace {

// Method names are ASCII; folding only those letters keeps the match the same whatever the locale.
std::wstring Folded(const std::wstring& name) {
    std::wstring folded = name;
    for (wchar_t& c : folded) {
        if (c >= L'A' && c <= L'Z') {
            c = static_cast<wchar_t>(c - L'A' + L'a');
        }
    }
    return folded;
}

}  // namespace

void ExternalObject::Add(const std::wstring& name, ExternalMethod method) {
    const std::wstring key = Folded(name);
    for (auto& entry : m_methods) {
        if (entry.first == key) {
            entry.second = std::move(method);
            return;
        }
    }
    m_methods.emplace_back(key, std::move(method));
}

bool ExternalObject::Has(const std::wstring& name) const {
    return Find(name) != nullptr;
}

bool ExternalObject::Call(const std::wstring& name, const std::vector<ExternalValue>& args,
                          ExternalValue& result) const {
    const ExternalMethod* method = Find(name);
    if (method == nullptr || !*method) {
        return false;
    }
    result = ExternalValue();
    try {
        return (*method)(args, result);
    } catch (...) {
        return false;  // a page must never take the client down with it
    }
}

const ExternalMethod* ExternalObject::Find(const std::wstring& name) const {
    const std::wstring key = Folded(name);
    for (const auto& entry : m_methods) {
        if (entry.first == key) {
            return &entry.second;
        }
    }
    return nullptr;
}

}  // namespace platform
