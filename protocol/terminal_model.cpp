#include "protocol/terminal_model.h"

#include <algorithm>
#include <cctype>

#include "comm/framing.h"

namespace {

struct ModelFacts {
    int framing;
    int readReplyHeader;
};

constexpr ModelFacts kModels[] = {
    {FRAMING_LINES, 3},
    {FRAMING_STX_ETX, 2},
};

// Unknown ids are taken as the ZEFA-102, as a nonzero framing is STX/ETX.
int Index(int model)
{
    return model == MODEL_ZEFA101 ? 0 : 1;
}

bool SameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
    });
}

}  // namespace

const char* ModelName(int model)
{
    return MODEL_NAMES[Index(model)];
}

std::string ModelNames(const char* separator)
{
    return std::string(MODEL_NAMES[MODEL_ZEFA101]) + separator + MODEL_NAMES[MODEL_ZEFA102];
}

int ParseModelName(std::string_view name)
{
    for (int model : {MODEL_ZEFA101, MODEL_ZEFA102}) {
        if (SameIgnoringCase(name, MODEL_NAMES[model])) return model;
    }
    return -1;
}

int ModelFraming(int model)
{
    return kModels[Index(model)].framing;
}

int ReadReplyHeaderLength(int model)
{
    return kModels[Index(model)].readReplyHeader;
}
