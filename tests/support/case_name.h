// Names table rows for GoogleTest: a row's `name` with every character a test name cannot hold
// turned into '_'.
#pragma once

#include <cctype>
#include <string>

struct CaseName {
    template <typename Info>
    std::string operator()(const Info& info) const
    {
        std::string name = info.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
        }
        return name;
    }
};
