#include "comm/trusted_certificates.h"

#include <stdlib.h>
#include <sys/stat.h>

#include <fstream>
#include <gtest/gtest.h>

#include "tests/support/temp_folder.h"
#include "tests/support/test_certificates.h"

namespace {

TEST(TrustedCertificates, AFileWithoutACertificateIsRefusedAndTheStoreStays)
{
    const CTempFolder folder("dorvane-trust");
    TestCertificates made;
    std::string error;
    ASSERT_TRUE(MakeTestCertificates(folder.Path(), made, error)) << error;
    std::ofstream(folder.File("notes.txt")) << "not a certificate\n";
    ASSERT_EQ(::mkfifo(folder.File("fifo.pem").c_str(), 0600), 0);

    OperatorMessage failure;
    ASSERT_TRUE(SetTrustedCertificates(made.authority, failure)) << failure.english;
    EXPECT_EQ(TrustedCertificatesLocation(), made.authority);

    const struct {
        std::string file;
        const char* why;
        const char* korean;
    } refused[] = {
        {folder.File("missing.pem"), "No such file or directory", "No such file or directory"},
        {folder.File("notes.txt"), "no PEM certificate in it", "PEM 인증서가 없습니다"},
        {made.server.key, "no PEM certificate in it", "PEM 인증서가 없습니다"},
        // Refused at once: nobody writes to it, and a blocking open would wait for ever.
        {folder.File("fifo.pem"), "not a regular file (a FIFO)", "일반 파일이 아닙니다 (FIFO)"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(SetTrustedCertificates(r.file, failure)) << r.file;
        EXPECT_EQ(failure.korean, "인증기관 인증서 파일을 읽을 수 없습니다: " + r.file + " (" + r.korean + ")");
        EXPECT_EQ(failure.english, r.file + ": " + r.why);
        EXPECT_EQ(TrustedCertificatesFile(), made.authority);
    }

    ASSERT_TRUE(SetTrustedCertificates("", failure));
    EXPECT_EQ(TrustedCertificatesFile(), "");
    // The system's store where OpenSSL's programs look: SSL_CERT_FILE first, else a directory.
    setenv("SSL_CERT_FILE", made.authority.c_str(), 1);
    EXPECT_EQ(TrustedCertificatesLocation(), made.authority);
    unsetenv("SSL_CERT_FILE");
    EXPECT_EQ(TrustedCertificatesLocation().back(), '/');
}

}  // namespace
