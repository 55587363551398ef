// TLS material for tests, made by openssl in a folder of the caller's: an authority, and three
// server identities for 127.0.0.1 and localhost: one the authority signed, one it signed for
// another name, one signed by nobody the test trusts.
#pragma once

#include <string>

struct TlsIdentity {
    std::string key;  // PEM files
    std::string certificate;
};

struct TestCertificates {
    std::string authority;   // the authority's certificate: what --ca names
    TlsIdentity server;      // signed by it, for 127.0.0.1 and localhost
    TlsIdentity otherName;   // signed by it, for elsewhere.invalid
    TlsIdentity selfSigned;  // for 127.0.0.1 and localhost, signed by itself
};

// False, with openssl's complaint in `error`, when openssl could not make them.
bool MakeTestCertificates(const std::string& folder, TestCertificates& made, std::string& error);
