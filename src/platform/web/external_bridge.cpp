// The bridge's wire format. A call is
//     TOKEN ":c:" NAME (":" ARG)*        and a question whether a method exists    TOKEN ":q:" NAME
// where NAME is percent-encoded (encodeURIComponent, so it holds no ':') and each ARG is one of
// "s" + percent-encoded text, "n" + a number as script writes it, "b1", "b0", "u" (undefined), "z" (null)
// and "o" (an object or a function). The reply is "r" + a value in the same notation, or "e" + a
// percent-encoded reason for the script error.
#include "platform/web/external_bridge.h"

#include <charconv>
#include <cmath>
#include <random>
#include <string_view>
#include <vector>

#include "platform/base/text.h"

namespace platform {
namespace {

constexpr char kScript[] = R"JS((function () {
  'use strict';
  var token = '@TOKEN@';
  var ask = window.prompt.bind(window);
  var encode = encodeURIComponent, decode = decodeURIComponent;
  var Failure = Error, ProxyOf = Proxy, define = Object.defineProperty;
  var call = Function.prototype.call;
  var slice = call.bind(String.prototype.slice), codeAt = call.bind(String.prototype.charCodeAt);
  var fromCode = String.fromCharCode, getOf = Reflect.get, hasOf = Reflect.has;

  // encodeURIComponent refuses a lone surrogate; the client gets U+FFFD in its place.
  function text(s) {
    try { return encode(s); } catch (e) {}
    var fixed = '';
    for (var i = 0; i < s.length; i++) {
      var c = codeAt(s, i);
      if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.length && codeAt(s, i + 1) >= 0xDC00 &&
          codeAt(s, i + 1) <= 0xDFFF) {
        fixed += fromCode(c, codeAt(s, i + 1));
        i++;
      } else {
        fixed += (c >= 0xD800 && c <= 0xDFFF) ? '\uFFFD' : fromCode(c);
      }
    }
    return encode(fixed);
  }
  function argument(v) {
    var type = typeof v;
    if (type === 'string') return 's' + text(v);
    if (type === 'number') return 'n' + v;
    if (type === 'boolean') return v ? 'b1' : 'b0';
    if (type === 'undefined') return 'u';
    return v === null ? 'z' : 'o';
  }
  function send(message) {
    var reply = ask(token + message);
    if (typeof reply !== 'string' || reply.length < 2) throw new Failure('window.external: no answer');
    if (slice(reply, 0, 1) === 'e') throw new Failure(decode(slice(reply, 1)));
    var body = slice(reply, 2);
    switch (slice(reply, 1, 2)) {
      case 's': return decode(body);
      case 'n': return +body;
      case 'b': return body === '1';
      case 'z': return null;
      default: return undefined;
    }
  }
  var methods = Object.create(null);
  function offered(name) {
    try { return send(':q:' + text(name)) === true; } catch (e) { return false; }
  }
  function method(name) {
    if (typeof name !== 'string') return undefined;
    if (methods[name] === undefined) {
      if (!offered(name)) return undefined;
      methods[name] = function () {
        var message = ':c:' + text(name);
        for (var i = 0; i < arguments.length; i++) message += ':' + argument(arguments[i]);
        return send(message);
      };
    }
    return methods[name];
  }
  var external = new ProxyOf({}, {
    get: function (target, name) { var m = method(name); return m !== undefined ? m : getOf(target, name); },
    has: function (target, name) { return method(name) !== undefined || hasOf(target, name); }
  });
  try {
    define(window, 'external', { value: external, writable: false, configurable: false });
  } catch (e) {}
})();
)JS";

constexpr std::string_view kUnreserved = "-_.!~*'()";

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool PercentDecode(std::string_view in, std::wstring& out) {
    std::string bytes;
    bytes.reserve(in.size());
    for (std::size_t i = 0; i < in.size(); ++i) {
        if (in[i] != '%') {
            bytes += in[i];
            continue;
        }
        if (i + 2 >= in.size()) {
            return false;
        }
        const int high = HexDigit(in[i + 1]);
        const int low = HexDigit(in[i + 2]);
        if (high < 0 || low < 0) {
            return false;
        }
        bytes += static_cast<char>(high * 16 + low);
        i += 2;
    }
    out = Utf8ToWide(bytes);
    return true;
}

std::string PercentEncode(const std::wstring& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const std::string bytes = WideToUtf8(text);
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            kUnreserved.find(static_cast<char>(c)) != std::string_view::npos) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 0xF];
        }
    }
    return out;
}

bool ParseNumber(std::string_view text, double& value) {
    // Script writes these three as words; from_chars reads them in its own spelling only.
    if (text == "Infinity" || text == "-Infinity") {
        value = text[0] == '-' ? -INFINITY : INFINITY;
        return true;
    }
    if (text == "NaN") {
        value = NAN;
        return true;
    }
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

bool ParseArgument(std::string_view field, ExternalValue& value) {
    if (field.empty()) {
        return false;
    }
    const std::string_view body = field.substr(1);
    switch (field[0]) {
        case 's':
            value.type = ExternalValue::Type::String;
            return PercentDecode(body, value.text);
        case 'n':
            value.type = ExternalValue::Type::Number;
            return ParseNumber(body, value.number);
        case 'b':
            value = ExternalValue::Boolean(body == "1");
            return body == "1" || body == "0";
        case 'u':
            value = ExternalValue();
            return body.empty();
        case 'z':
            value = ExternalValue::Null();
            return body.empty();
        case 'o':
            value = ExternalValue::Object();
            return body.empty();
        default:
            return false;
    }
}

std::string FormatNumber(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    if (std::isinf(value)) {
        return value < 0 ? "-Infinity" : "Infinity";
    }
    char buffer[32];
    auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value);
    return error == std::errc() ? std::string(buffer, end) : "NaN";
}

std::string Encode(const ExternalValue& value) {
    switch (value.type) {
        case ExternalValue::Type::String:
            return "s" + PercentEncode(value.text);
        case ExternalValue::Type::Number:
            return "n" + FormatNumber(value.number);
        case ExternalValue::Type::Boolean:
            return value.boolean ? "b1" : "b0";
        case ExternalValue::Type::Null:
            return "z";
        default:
            return "u";  // an object cannot go back to the page
    }
}

std::vector<std::string_view> Fields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = text.find(':', start);
        fields.push_back(text.substr(start, colon - start));
        if (colon == std::string_view::npos) {
            return fields;
        }
        start = colon + 1;
    }
}

std::string Failure(const std::wstring& reason) {
    return "e" + PercentEncode(reason);
}

}  // namespace

std::string NewBridgeToken() {
    std::random_device random;
    static constexpr char kHex[] = "0123456789abcdef";
    std::string token;
    while (token.size() < 32) {
        const unsigned int bits = random();
        for (int shift = 0; shift < 32 && token.size() < 32; shift += 4) {
            token += kHex[(bits >> shift) & 0xF];
        }
    }
    return token;
}

std::string BridgeScript(const std::string& token) {
    std::string script = kScript;
    const std::string mark = "@TOKEN@";
    script.replace(script.find(mark), mark.size(), token);
    return script;
}

bool AnswerBridgeMessage(const std::string& token, const std::string& message, const ExternalObject& object,
                         std::string& reply) {
    if (token.empty() || message.compare(0, token.size(), token) != 0) {
        return false;
    }
    const std::vector<std::string_view> fields = Fields(std::string_view(message).substr(token.size()));
    std::wstring name;
    if (fields.size() < 3 || !fields[0].empty() || (fields[1] != "c" && fields[1] != "q") ||
        !PercentDecode(fields[2], name)) {
        reply = Failure(L"window.external: a call that does not parse");
        return true;
    }
    if (fields[1] == "q") {
        reply = fields.size() == 3 && object.Has(name) ? "rb1" : "rb0";
        return true;
    }
    std::vector<ExternalValue> args(fields.size() - 3);
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!ParseArgument(fields[i + 3], args[i])) {
            reply = Failure(L"window.external." + name + L": an argument that does not parse");
            return true;
        }
    }
    ExternalValue result;
    if (!object.Has(name)) {
        reply = Failure(L"window.external." + name + L" is not a method of the client");
    } else if (!object.Call(name, args, result)) {
        reply = Failure(L"window.external." + name + L" failed");
    } else {
        reply = "r" + Encode(result);
    }
    return true;
}

}  // namespace platform
