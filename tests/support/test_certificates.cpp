#include "tests/support/test_certificates.h"

#include <fstream>
#include <vector>

#include "tests/support/run_process.h"

namespace {

// P-256 keys: made in milliseconds, where RSA keys take a good part of a second.
const std::vector<std::string> kNewKey = {"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
const char* const kLoopbackNames = "subjectAltName=IP:127.0.0.1,DNS:localhost";

bool Run(std::vector<std::string> args, std::string& error)
{
    args.insert(args.begin(), OPENSSL_PROGRAM);
    const ProcessResult result = RunProcess(args);
    if (result.exitStatus == 0) return true;
    error = "openssl " + args.at(1) + ": " + (result.exitStatus < 0 ? "cannot run " OPENSSL_PROGRAM : result.err);
    return false;
}

std::vector<std::string> Join(std::vector<std::string> head, const std::vector<std::string>& tail)
{
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

// A key and a certificate for `names` (a subjectAltName line), signed by the authority.
bool Signed(const std::string& folder, const std::string& name, const std::string& names, TlsIdentity& identity,
            std::string& error)
{
    identity = {folder + "/" + name + ".key", folder + "/" + name + ".pem"};
    const std::string request = folder + "/" + name + ".csr";
    const std::string extensions = folder + "/" + name + ".ext";
    std::ofstream(extensions) << names << "\n";
    return Run(Join({"req", "-new", "-subj", "/CN=" + name, "-keyout", identity.key, "-out", request}, kNewKey),
               error) &&
           Run({"x509", "-req", "-in", request, "-CA", folder + "/authority.pem", "-CAkey", folder + "/authority.key",
                "-CAserial", folder + "/authority.srl", "-CAcreateserial", "-days", "2", "-extfile", extensions, "-out",
                identity.certificate},
               error);
}

}  // namespace

bool MakeTestCertificates(const std::string& folder, TestCertificates& made, std::string& error)
{
    made.authority = folder + "/authority.pem";
    made.selfSigned = {folder + "/self-signed.key", folder + "/self-signed.pem"};
    return Run(Join({"req", "-x509", "-days", "2", "-subj", "/CN=Dorvane test authority", "-keyout",
                     folder + "/authority.key", "-out", made.authority},
                    kNewKey),
               error) &&
           Signed(folder, "server", kLoopbackNames, made.server, error) &&
           Signed(folder, "other-name", "subjectAltName=DNS:elsewhere.invalid", made.otherName, error) &&
           Run(Join({"req", "-x509", "-days", "2", "-subj", "/CN=self-signed", "-addext", kLoopbackNames, "-keyout",
                     made.selfSigned.key, "-out", made.selfSigned.certificate},
                    kNewKey),
               error);
}
