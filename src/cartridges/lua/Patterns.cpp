#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "cartridges/lua/LuaRun.h"

namespace lumidot::lua {

namespace {

// Lua's matcher backtracks inside C, where no hook reaches, so a pattern's
// cost is judged before it runs: the number of start positions times the
// ways its repetitions can split the subject, each repetition counted by
// the longest run of the subject's characters its class matches, times the
// pattern's items. Above this bound (some 30 ms at worst)
// the call is refused.
constexpr double kMostSteps = 2e7;
// A plain search compares bytes a word at a time.
constexpr double kBytesPerStep = 16;

// Whether the character is in the class %c (Lua's letters).
bool InClass(unsigned char c, char letter) {
    bool in = false;
    switch (std::tolower(static_cast<unsigned char>(letter))) {
        case 'a':
            in = std::isalpha(c) != 0;
            break;
        case 'c':
            in = std::iscntrl(c) != 0;
            break;
        case 'd':
            in = std::isdigit(c) != 0;
            break;
        case 'g':
            in = std::isgraph(c) != 0;
            break;
        case 'l':
            in = std::islower(c) != 0;
            break;
        case 'p':
            in = std::ispunct(c) != 0;
            break;
        case 's':
            in = std::isspace(c) != 0;
            break;
        case 'u':
            in = std::isupper(c) != 0;
            break;
        case 'w':
            in = std::isalnum(c) != 0;
            break;
        case 'x':
            in = std::isxdigit(c) != 0;
            break;
        default:
            return c == static_cast<unsigned char>(letter);
    }
    return std::isupper(static_cast<unsigned char>(letter)) != 0 ? !in : in;
}

// Whether c is in the set [begin, end), brackets excluded.
bool InSet(unsigned char c, const char* begin, const char* end) {
    const bool negated = *begin == '^';
    bool in = false;
    for (const char* p = negated ? begin + 1 : begin; p < end && !in; ++p) {
        if (*p == '%' && p + 1 < end) {
            in = InClass(c, *++p);
        } else if (p + 2 < end && p[1] == '-') {
            in = static_cast<unsigned char>(*p) <= c && c <= static_cast<unsigned char>(p[2]);
            p += 2;
        } else {
            in = c == static_cast<unsigned char>(*p);
        }
    }
    return in != negated;
}

// Whether c matches the single item [item, end).
bool Matches(unsigned char c, const char* item, const char* end) {
    if (*item == '.') return true;
    if (*item == '%') return InClass(c, item[1]);
    if (*item == '[') return InSet(c, item + 1, end - 1);
    return c == static_cast<unsigned char>(*item);
}

// The end of the single item at p, or nullptr for a malformed one (Lua's
// matcher then reports it).
const char* ItemEnd(const char* p, const char* end) {
    if (*p == '%') return p + 1 < end ? p + 2 : nullptr;
    if (*p != '[') return p + 1;
    const char* q = p + 1;
    if (q < end && *q == '^') ++q;
    do {
        if (q >= end) return nullptr;
        if (*q == '%') ++q;
        ++q;
    } while (q < end && *q != ']');
    return q < end ? q + 1 : nullptr;
}

double LongestRun(const std::string_view subject, const char* item, const char* end) {
    std::size_t longest = 0;
    std::size_t run = 0;
    for (const char c : subject) {
        run = Matches(static_cast<unsigned char>(c), item, end) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return static_cast<double>(longest);
}

double PatternSteps(std::string_view subject, std::string_view pattern) {
    const double whole = static_cast<double>(subject.size()) + 1;
    double ways = 1;
    double items = 1;
    const char* p = pattern.data();
    const char* const end = p + pattern.size();
    const double starts = p < end && *p == '^' ? 1 : whole;
    while (p < end) {
        items += 1;
        if (*p == '(' || *p == ')' || *p == '^' || *p == '$') {
            ++p;
        } else if (*p == '%' && p + 1 < end && (p[1] == 'b' || std::isdigit(p[1]) != 0)) {
            ways *= whole;  // a balance or a back-reference scans the subject
            p += std::min<std::ptrdiff_t>(p[1] == 'b' ? 4 : 2, end - p);
        } else if (*p == '%' && p + 1 < end && p[1] == 'f') {
            p += 2;
        } else {
            const char* item = p;
            if ((p = ItemEnd(p, end)) == nullptr) break;
            if (p < end && std::strchr("*+-", *p) != nullptr) {
                ways *= LongestRun(subject, item, p) + 1, ++p;
            } else if (p < end && *p == '?') {
                ways *= 2, ++p;
            }
        }
    }
    return starts * ways * items;
}

// string.find, match, gmatch and gsub: refused when the bound on their
// work is too high, otherwise the originals.
int MatchBounded(lua_State* L) {
    std::size_t subjectLength = 0;
    std::size_t patternLength = 0;
    const char* subject = luaL_checklstring(L, 1, &subjectLength);
    const char* pattern = luaL_checklstring(L, 2, &patternLength);
    const std::string_view s(subject, subjectLength);
    const std::string_view p(pattern, patternLength);
    const bool plain = lua_toboolean(L, lua_upvalueindex(2)) != 0 &&
                       (lua_toboolean(L, 4) != 0 || p.find_first_of("^$*+?.([%-") == p.npos);
    const double steps =
        plain ? static_cast<double>(s.size()) * static_cast<double>(p.size()) / kBytesPerStep
              : PatternSteps(s, p);
    if (steps > kMostSteps) {
        return luaL_error(L, "pattern too complex for a subject this long");
    }
    return CallOriginal(L);
}

}  // namespace

void GuardPatterns(lua_State* L, int strings) {
    for (const char* name : {"find", "match", "gmatch", "gsub"}) {
        lua_getfield(L, strings, name);
        lua_pushboolean(L, std::strcmp(name, "find") == 0);  // find searches plainly
        lua_pushcclosure(L, MatchBounded, 2);
        lua_setfield(L, strings, name);
    }
}

}  // namespace lumidot::lua
