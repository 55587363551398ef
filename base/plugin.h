// Parts of a program loaded when first needed: the network transport and the iCalendar files
// bring libraries (gensio, OpenSSL, libical, ICU) that most commands never use, and a library a
// program links is mapped and relocated at every start, whatever the command.
//
// A part is a shared object in the part folder, which lies where the install puts it relative to
// the program (../lib/<arch>/dorvane from /usr/bin); the build tree is laid out the same way.
#pragma once

#include <string>

#include "base/operator_message.h"

// What a part is called for the operator, and its file.
struct PluginName {
    const char* korean;    // "네트워크 포트"
    const char* english;   // "network ports"
    const char* fileName;  // "dorvane-network.so"
};

// The part's entry `entry`, a function taking nothing, loaded once per process; the part stays
// loaded. Null, with `failure` saying which part and what the loader said, when the part is
// missing or broken: the operator reads that part of Dorvane is not installed.
void* LoadPluginEntry(const PluginName& name, const char* entry, OperatorMessage& failure);

// The folder the parts are looked for in, next to this program.
std::string PluginFolder();
