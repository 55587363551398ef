// Which certificate authorities a TLS network port (tcp+tls://, rfc2217+tls://) trusts, for the
// whole process: the system's trust store (/etc/ssl/certs on Debian) until a program's `--ca FILE`
// replaces it with the authorities in one PEM file. Either way the server's certificate must chain
// to one of them and name the host or address that the port names; nothing turns the check off.
//
//   OperatorMessage failure;
//   if (!SetTrustedCertificates(caFile, failure)) fail(failure);  // before Open
#pragma once

#include <string>

#include "base/operator_message.h"

// Trusts only the authorities in `caFile` (PEM, one or more certificates) from the next Open on;
// an empty name returns to the system's trust store. False, with the setting unchanged, when the
// file cannot be read or holds no certificate: `failure` names the file and says what went wrong.
bool SetTrustedCertificates(const std::string& caFile, OperatorMessage& failure);

// The file set above, as an absolute path; empty while the system's trust store is used.
std::string TrustedCertificatesFile();

// What a TLS port loads: the file set above, else the system's trust store where OpenSSL's own
// programs find it (the file in SSL_CERT_FILE, the directory in SSL_CERT_DIR, else OpenSSL's
// certificate directory). A directory ends in '/'.
std::string TrustedCertificatesLocation();

// Whether a server's certificate (PEM) is made out to `host`, a name or an address (in its
// subject alternative names, or its common name where it has none), as browsers check it.
bool CertificateNamesHost(const std::string& pem, const std::string& host);
