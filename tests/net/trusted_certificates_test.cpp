#include "comm/trusted_certificates.h"

#include <stdlib.h>

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

    OperatorMessage failure;
    ASSERT_TRUE(SetTrustedCertificates(made.authority, failure)) << failure.english;
    EXPECT_EQ(TrustedCertificatesLocation(), made.authority);

    const struct {
        std::string file;
        const char* why;
    } refused[] = {
        {folder.File("missing.pem"), "No such file or directory"},
        {folder.File("notes.txt"), "no PEM certificate in it"},
        {made.server.key, "no PEM certificate in it"},
    };
    for (const auto& r : refused) {
        EXPECT_FALSE(SetTrustedCertificates(r.file, failure)) << r.file;
        EXPECT_EQ(failure.korean, "인증기관 인증서 파일을 읽을 수 없습니다: " + r.file);
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
