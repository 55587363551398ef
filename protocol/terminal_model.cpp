#include "protocol/terminal_model.h"

#include "comm/framing.h"

namespace {

struct ModelFacts {
    const char* name;
    const char* lowerName;
    int framing;
    int readReplyHeader;
};

constexpr ModelFacts kModels[] = {
    {"ZEFA-101", "zefa-101", FRAMING_LINES, 3},
    {"ZEFA-102", "zefa-102", FRAMING_STX_ETX, 2},
};

const ModelFacts& Facts(int model)
{
    return kModels[model == MODEL_ZEFA101 ? 0 : 1];
}

}  // namespace

const char* ModelName(int model)
{
    return Facts(model).name;
}

int ParseModelName(std::string_view name)
{
    for (int model : {MODEL_ZEFA101, MODEL_ZEFA102}) {
        if (name == Facts(model).name || name == Facts(model).lowerName) return model;
    }
    return -1;
}

int ModelFraming(int model)
{
    return Facts(model).framing;
}

int ReadReplyHeaderLength(int model)
{
    return Facts(model).readReplyHeader;
}
