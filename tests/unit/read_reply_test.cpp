#include "protocol/read_reply.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

#include "protocol/terminal_model.h"

namespace {

using Marked = std::vector<std::pair<int, int>>;

Marked Parse(const char* text, int model)
{
    int marks[13][32] = {};
    const int set = ParseReadReply(text, model, marks);
    Marked found;
    for (int m = 0; m < 13; ++m) {
        for (int d = 0; d < 32; ++d) {
            if (marks[m][d] != 0) found.emplace_back(m, d);
        }
    }
    EXPECT_EQ(set, static_cast<int>(found.size())) << text;
    return found;
}

}  // namespace

TEST(ReadReply, GroupsAfterTheModelsHeader)
{
    const struct {
        const char* text;
        int model;
        Marked marks;
    } cases[] = {
        {"##01010301", MODEL_ZEFA102, {{1, 1}, {3, 1}}},
        {"###01010301", MODEL_ZEFA101, {{1, 1}, {3, 1}}},
        {"##01010301", MODEL_ZEFA101, {{10, 10}}},  // "1010", then "301" is month 30
        {"OK", MODEL_ZEFA102, {}},
        {"", MODEL_ZEFA102, {}},
        {"#", MODEL_ZEFA101, {}},
        {"##0230", MODEL_ZEFA102, {{2, 30}}},
        {"##13320000", MODEL_ZEFA102, {}},
        {"##123", MODEL_ZEFA102, {{12, 3}}},
        {"##12", MODEL_ZEFA102, {}},
        {"##0101123", MODEL_ZEFA102, {{1, 1}, {12, 3}}},
        {"##1231", MODEL_ZEFA102, {{12, 31}}},
        {"##1232", MODEL_ZEFA102, {}},
        {"## 1 5", MODEL_ZEFA102, {{1, 5}}},
        {"##+1+2", MODEL_ZEFA102, {{1, 2}}},
        {"## 1-1", MODEL_ZEFA102, {}},
        {"##1a2b", MODEL_ZEFA102, {{1, 2}}},
        {"##a1b2", MODEL_ZEFA102, {}},
        {"##-1-1", MODEL_ZEFA102, {}},
        {"##\t1\n9", MODEL_ZEFA102, {{1, 9}}},
        {"##0505xxxx1225", MODEL_ZEFA102, {{5, 5}, {12, 25}}},
    };
    for (const auto& c : cases) EXPECT_EQ(Parse(c.text, c.model), c.marks) << '"' << c.text << '"';
}

TEST(ReadReply, EveryDayOfTheYearInOneReply)
{
    std::string text = "##";
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) {
            char group[24];
            std::snprintf(group, sizeof group, "%02d%02d", m, d);
            text += group;
        }
    }
    EXPECT_EQ(Parse(text.c_str(), MODEL_ZEFA102).size(), 12u * 31u);
}
