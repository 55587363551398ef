// What any layer tells the operator: Korean for the message box and the console, English beside
// it for scripts and logs. A failure, a refusal and a skipped item all say themselves this way.
#pragma once

#include <string>

struct OperatorMessage {
    std::string korean;
    std::string english;
};
