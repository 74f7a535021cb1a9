#pragma once

// Whole words as keys and the codes they give, worked out by hand from the
// key map and the correction table: the engine's own table, and the one a
// document window must give whatever order the keys go down and up in.
struct TypedWord {
    const char* keys;
    const char* codes;
};

inline constexpr TypedWord typedWords[] = {
    {"thamiz", "jkpo;"}, {"kaN", "fz;"},   {"ammaa", "mk;kh"},  {"kU", "$"},          {"kai", "if"},
    {"koo", "$"},        {"kO", "Nfh"},    {"kaa", "fh"},       {"kee", "fP"},        {"kE", "Nf"},
    {"ko", "nfh"},       {"kou", "nfs"},   {"ai", "I"},         {"aa", "M"},          {"ou", "xs"},
    {"nanRi", "ed;wp"},  {"pU", "G+"},     {"thU", "J}"},       {"sha", "~"},         {"nth", "e;"},
    {"anga", "mq"},      {"thaa", "jh"},   {"di", "b"},         {"dI", "B"},          {"q", "="},
    {"k0a", "f;0m"},     {"ka ka", "f f"}, {"thamizh", "jkpo;"}, {"vanakkam", "tdf;fk;"},
    {"vaNakkam", "tzf;fk;"}, {"kshaa", "f;~h"}, {"jutam", "[{uk;"}, {"pikshU", "gpf;~_"}, {"Zu", "]{"},
    {"hu", "`{"},        {"jU", "[_"},
};
