#include "platform/comserver/RegScript.h"

#include <cctype>
#include <cstdlib>

namespace {

bool SameText(const std::string& a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i]; ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
    }
    return i == a.size() && !b[i];
}

struct Token {
    enum Kind { End, Word, Quoted, Open, Close, Equals };
    Kind kind = End;
    std::string text;  // replacements applied
    size_t line = 1;
};

class Reader {
public:
    Reader(const std::string& text, const RegReplacements& replacements)
        : text_(text), replacements_(replacements) {}

    bool Script(RegScript& script) {
        if (!Next()) return false;
        while (token_.kind != Token::End) {
            RegScriptRoot root;
            if (token_.kind != Token::Word || !Hive(token_.text, root.hive)) return Fail("a root key (HKCR, HKLM...) expected");
            if (!Next() || !Expect(Token::Open, "'{'")) return false;
            while (token_.kind != Token::Close) {
                RegScriptKey key;
                if (!Key(key)) return false;
                root.keys.push_back(std::move(key));
            }
            if (!Next()) return false;
            script.roots.push_back(std::move(root));
        }
        return true;
    }

    const std::string& Error() const { return error_; }

private:
    static bool Hive(const std::string& word, RegHive& hive) {
        if (SameText(word, "HKCR") || SameText(word, "HKEY_CLASSES_ROOT")) hive = RegHive::ClassesRoot;
        else if (SameText(word, "HKLM") || SameText(word, "HKEY_LOCAL_MACHINE")) hive = RegHive::LocalMachine;
        else if (SameText(word, "HKCU") || SameText(word, "HKEY_CURRENT_USER")) hive = RegHive::CurrentUser;
        else if (SameText(word, "HKU") || SameText(word, "HKEY_USERS")) hive = RegHive::Users;
        else return false;
        return true;
    }

    // [ForceRemove|NoRemove] name [= type 'value'] [{ keys and vals }]
    bool Key(RegScriptKey& key) {
        if (token_.kind == Token::Word && SameText(token_.text, "ForceRemove")) {
            key.removal = RegScriptKey::ForceRemove;
            if (!Next()) return false;
        } else if (token_.kind == Token::Word && SameText(token_.text, "NoRemove")) {
            key.removal = RegScriptKey::NoRemove;
            if (!Next()) return false;
        }
        if (!Name(key.name)) return false;
        if (token_.kind == Token::Equals) {
            if (!Next() || !Value(key.defaultValue)) return false;
            key.hasDefault = true;
        }
        if (token_.kind != Token::Open) return true;
        if (!Next()) return false;
        while (token_.kind != Token::Close) {
            if (token_.kind == Token::Word && SameText(token_.text, "val")) {
                RegScriptValue value;
                if (!Next() || !Name(value.name) || !Expect(Token::Equals, "'='") || !Value(value)) return false;
                key.values.push_back(std::move(value));
            } else {
                RegScriptKey sub;
                if (!Key(sub)) return false;
                key.subkeys.push_back(std::move(sub));
            }
        }
        return Next();
    }

    bool Name(std::string& name) {
        if (token_.kind != Token::Word && token_.kind != Token::Quoted) return Fail("a name expected");
        if (token_.text.empty() || token_.text.find('\\') != std::string::npos) return Fail("not a key or value name");
        name = token_.text;
        return Next();
    }

    // s 'text' | d 'number'
    bool Value(RegScriptValue& value) {
        if (token_.kind != Token::Word) return Fail("a value type (s or d) expected");
        const std::string type = token_.text;
        if (!Next()) return false;
        if (token_.kind != Token::Word && token_.kind != Token::Quoted) return Fail("a value expected");
        if (SameText(type, "s")) {
            value.type = RegScriptValue::String;
            value.text = token_.text;
        } else if (SameText(type, "d")) {
            value.type = RegScriptValue::Dword;
            if (!Number(token_.text, value.number)) return Fail("not a DWORD");
        } else {
            return Fail("unknown value type");
        }
        return Next();
    }

    static bool Number(const std::string& text, uint32_t& number) {
        const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
        const size_t from = hex ? 2 : 0;
        if (text.size() <= from || text.size() - from > (hex ? 8u : 10u)) return false;
        for (size_t i = from; i < text.size(); ++i) {
            if (!(hex ? std::isxdigit(static_cast<unsigned char>(text[i])) : std::isdigit(static_cast<unsigned char>(text[i])))) return false;
        }
        const unsigned long long n = std::strtoull(text.c_str() + from, nullptr, hex ? 16 : 10);
        if (n > 0xFFFFFFFFull) return false;
        number = static_cast<uint32_t>(n);
        return true;
    }

    bool Expect(Token::Kind kind, const char* what) {
        if (token_.kind != kind) return Fail(std::string(what) + " expected");
        return Next();
    }

    // Reads the next token into token_.
    bool Next() {
        while (at_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[at_]))) {
            if (text_[at_++] == '\n') ++line_;
        }
        token_ = Token();
        token_.line = line_;
        if (at_ >= text_.size()) return true;
        std::string raw;
        if (text_[at_] == '\'') {
            token_.kind = Token::Quoted;
            for (++at_;; ++at_) {
                if (at_ >= text_.size()) return Fail("unterminated string");
                if (text_[at_] == '\n') ++line_;
                if (text_[at_] != '\'') {
                    raw += text_[at_];
                } else if (at_ + 1 < text_.size() && text_[at_ + 1] == '\'') {
                    raw += '\'';
                    ++at_;
                } else {
                    ++at_;
                    break;
                }
            }
        } else {
            while (at_ < text_.size() && !std::isspace(static_cast<unsigned char>(text_[at_]))) raw += text_[at_++];
            token_.kind = raw == "{" ? Token::Open : raw == "}" ? Token::Close : raw == "=" ? Token::Equals : Token::Word;
        }
        return Replace(raw, token_.text);
    }

    bool Replace(const std::string& raw, std::string& out) {
        for (size_t i = 0; i < raw.size(); ++i) {
            if (raw[i] != '%') {
                out += raw[i];
                continue;
            }
            const size_t end = raw.find('%', i + 1);
            if (end == std::string::npos) return Fail("unterminated %NAME%");
            const std::string name = raw.substr(i + 1, end - i - 1);
            if (name.empty()) {
                out += '%';
            } else {
                const std::pair<std::string, std::string>* found = nullptr;
                for (const auto& r : replacements_) {
                    if (SameText(name, r.first.c_str())) found = &r;
                }
                if (!found) return Fail("no replacement for %" + name + "%");
                out += found->second;
            }
            i = end;
        }
        return true;
    }

    bool Fail(const std::string& what) {
        if (error_.empty()) error_ = "line " + std::to_string(token_.line) + ": " + what;
        return false;
    }

    const std::string& text_;
    const RegReplacements& replacements_;
    size_t at_ = 0;
    size_t line_ = 1;
    Token token_;
    std::string error_;
};

}  // namespace

bool ReadRegScript(const std::string& text, const RegReplacements& replacements, RegScript& script,
                   std::string& error) {
    Reader reader(text, replacements);
    RegScript read;
    if (!reader.Script(read)) {
        error = reader.Error();
        return false;
    }
    script = std::move(read);
    error.clear();
    return true;
}
