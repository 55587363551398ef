#include "comm/trusted_certificates.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <openssl/err.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>

#include "base/printable_text.h"
#include "base/regular_file.h"

namespace {

std::mutex g_trustMutex;
std::string g_caFile;

// Debian's whole bundle of authorities is about 200 kB.
constexpr std::size_t kMostCaFileBytes = 10 * 1024 * 1024;

int CountCertificates(const std::string& pem)
{
    BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    if (bio == nullptr) return 0;
    int count = 0;
    while (X509* certificate = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr)) {
        ++count;
        X509_free(certificate);
    }
    // The read that ended the loop leaves "no start line" behind; it is not an error here.
    ERR_clear_error();
    BIO_free(bio);
    return count;
}

}  // namespace

bool SetTrustedCertificates(const std::string& caFile, OperatorMessage& failure)
{
    std::string absolute;
    if (!caFile.empty()) {
        // A FIFO or a device named by --ca is refused, not waited on.
        std::string pem;
        OperatorMessage reason;
        if (!ReadRegularFile(caFile, kMostCaFileBytes, pem, reason)) {
            failure = {"인증기관 인증서 파일을 읽을 수 없습니다: " + PrintableText(caFile) + " (" + reason.korean + ")",
                       PrintableText(caFile) + ": " + reason.english};
            return false;
        }
        if (CountCertificates(pem) == 0) {
            failure = {"인증기관 인증서 파일을 읽을 수 없습니다: " + PrintableText(caFile) + " (PEM 인증서가 없습니다)",
                       PrintableText(caFile) + ": no PEM certificate in it"};
            return false;
        }
        // The port opens it later, whatever the working directory is by then.
        std::error_code error;
        absolute = std::filesystem::absolute(caFile, error).string();
        if (error) absolute = caFile;
    }
    std::lock_guard<std::mutex> lock(g_trustMutex);
    g_caFile = absolute;
    return true;
}

std::string TrustedCertificatesFile()
{
    std::lock_guard<std::mutex> lock(g_trustMutex);
    return g_caFile;
}

std::string TrustedCertificatesLocation()
{
    std::string file = TrustedCertificatesFile();
    if (!file.empty()) return file;
    if (const char* path = std::getenv(X509_get_default_cert_file_env()); path != nullptr && *path != '\0') return path;
    const char* directory = std::getenv(X509_get_default_cert_dir_env());
    if (directory == nullptr || *directory == '\0') directory = X509_get_default_cert_dir();
    return std::string(directory) + "/";
}

bool CertificateNamesHost(const std::string& pem, const std::string& host)
{
    BIO* bio = BIO_new_mem_buf(pem.data(), static_cast<int>(pem.size()));
    if (bio == nullptr) return false;
    X509* certificate = PEM_read_bio_X509(bio, nullptr, nullptr, nullptr);
    BIO_free(bio);
    if (certificate == nullptr) return false;
    unsigned char binary[sizeof(in6_addr)];
    const bool address =
        inet_pton(AF_INET, host.c_str(), binary) == 1 || inet_pton(AF_INET6, host.c_str(), binary) == 1;
    const bool names = address ? X509_check_ip_asc(certificate, host.c_str(), 0) == 1
                               : X509_check_host(certificate, host.data(), host.size(), 0, nullptr) == 1;
    X509_free(certificate);
    return names;
}
