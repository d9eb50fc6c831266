#include "retrieval/RemotePath.h"

#include <gtest/gtest.h>

#include "link/CommandSet.h"
#include "retrieval/TransferFields.h"

namespace {

FtpEndpoint Server() {
    FtpEndpoint endpoint;
    endpoint.host = "ftp.example.com";
    endpoint.port = 2121;
    return endpoint;
}

FtpEndpoint Store(const std::string& basePath) {
    FtpEndpoint endpoint;
    endpoint.scheme = "file";
    endpoint.basePath = basePath;
    return endpoint;
}

TEST(RemotePath, JoinsPathAndNameWithOneSlash) {
    EXPECT_EQ(FormatRemotePath(u"fw/lvds", u"a1.bin"), u"fw/lvds/a1.bin");
}

TEST(RemotePath, RefusesPathsLongerThanTheFieldInsteadOfCuttingThem) {
    const std::u16string directory(58, u'd');  // 58 + "/" + 4 = 63
    EXPECT_EQ(FormatRemotePath(directory, u"a.bi").size(), kMaxRemotePath);
    EXPECT_EQ(FormatRemotePath(directory, u"a.bin"), u"");
}

TEST(ImageUrl, NamesTheFileOnTheServerPort) {
    EXPECT_EQ(ImageUrl(Server(), u"fw/lvds/a1.bin"), "ftp://ftp.example.com:2121/fw/lvds/a1.bin");
    FtpEndpoint defaultPort = Server();
    defaultPort.port = 0;
    EXPECT_EQ(ImageUrl(defaultPort, u"a.bin"), "ftp://ftp.example.com:21/a.bin");
}

TEST(ImageUrl, EncodesEverySegmentButKeepsTheSeparators) {
    EXPECT_EQ(ImageUrl(Server(), u"my fw/a#1?.bin"), "ftp://ftp.example.com:2121/my%20fw/a%231%3F.bin");
    EXPECT_EQ(ImageUrl(Server(), u"fw/\u00e9.bin"), "ftp://ftp.example.com:2121/fw/%C3%A9.bin");
    // On Windows the store's root also gets the current drive letter: file:///C%3A/srv/...
    const std::string url = ImageUrl(Store("/srv/image store/"), u"fw/a 1.bin").value_or("");
    EXPECT_TRUE(url.starts_with("file:///")) << url;
    EXPECT_TRUE(url.ends_with("/srv/image%20store/fw/a%201.bin")) << url;
}

TEST(ImageUrl, RefusesPathsThatCannotNameOneFile) {
    EXPECT_FALSE(ImageUrl(Server(), u""));
    EXPECT_FALSE(ImageUrl(Server(), u"fw/lvds/"));  // a directory: its listing would be downloaded
    EXPECT_FALSE(ImageUrl(Server(), u"/"));
    EXPECT_FALSE(ImageUrl(Server(), u"fw/../../etc/passwd"));
    EXPECT_FALSE(ImageUrl(Store("/srv/images"), u"../secret.bin"));
    EXPECT_FALSE(ImageUrl(Server(), u"fw/a.bin\r\nDELE a.bin"));
    EXPECT_FALSE(ImageUrl(Server(), std::u16string(kMaxRemotePath + 1, u'a')));
    EXPECT_TRUE(ImageUrl(Server(), std::u16string(kMaxRemotePath, u'a')));
    EXPECT_TRUE(ImageUrl(Server(), u"fw/..a.bin"));
}

TEST(ImageUrl, RefusesAnEndpointWithoutPlace) {
    EXPECT_FALSE(ImageUrl(Store(""), u"a.bin"));
    FtpEndpoint noHost = Server();
    noHost.host.clear();
    EXPECT_FALSE(ImageUrl(noHost, u"a.bin"));
    FtpEndpoint http = Server();
    http.scheme = "http";
    EXPECT_FALSE(ImageUrl(http, u"a.bin"));
}

}  // namespace
