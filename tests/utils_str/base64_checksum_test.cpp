#include "utils/base64.h"
#include "utils/checksums.h"

#include <gtest/gtest.h>

TEST(Base64, EncodesWithPaddingInBothAlphabets) {
    EXPECT_EQ(base64Encode(kBase64Standard, ""), "");
    EXPECT_EQ(base64Encode(kBase64Standard, "f"), "Zg==");
    EXPECT_EQ(base64Encode(kBase64Standard, "fo"), "Zm8=");
    EXPECT_EQ(base64Encode(kBase64Standard, "foo"), "Zm9v");
    EXPECT_EQ(base64Encode(kBase64Standard, "foobar"), "Zm9vYmFy");
    EXPECT_EQ(base64Encode(kBase64Standard, "\xfb\xff\xfe"), "+//+");
    EXPECT_EQ(base64Encode(kBase64FileSafe, "\xfb\xff\xfe"), "_--_");
}

TEST(Base64, DecodeRoundTripsBytesIncludingZeros) {
    std::string bytes("a\0b\r\n\xff\x80", 7);
    for (const char* alphabet : {kBase64Standard, kBase64FileSafe}) {
        EXPECT_EQ(base64Decode(alphabet, base64Encode(alphabet, bytes)), bytes);
    }
}

TEST(Base64, DecodeSkipsLineBreaksAndPadding) {
    EXPECT_EQ(base64Decode(kBase64Standard, "Zm9v\r\nYmFy"), "foobar");
    EXPECT_EQ(base64Decode(kBase64Standard, "Zg=="), "f");
    EXPECT_EQ(base64Decode(kBase64Standard, "Zg"), "f");
}

TEST(Base64, AnyForeignCharacterEmptiesTheResult) {
    EXPECT_EQ(base64Decode(kBase64Standard, "Zm9v YmFy"), "");
    EXPECT_EQ(base64Decode(kBase64Standard, "-__-"), "");
    EXPECT_EQ(base64Decode(kBase64FileSafe, "+//+"), "");
    EXPECT_EQ(base64Decode(kBase64Standard, std::string("Zm9v\0", 5)), "");
}

TEST(Md5, MatchesTheReferenceTestSuite) {
    EXPECT_EQ(md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(md5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
    EXPECT_EQ(md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    EXPECT_EQ(md5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
    EXPECT_EQ(md5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
    EXPECT_EQ(md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "d174ab98d277d9f5a5611c2c9f419d9f");
    EXPECT_EQ(md5Hex("1234567890123456789012345678901234567890123456789012345678901234567890"
                     "1234567890"),
              "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(Md5, HandlesLengthsAroundTheBlockBoundary) {
    // 55 bytes fit one block with the length; 56 need a second block.
    EXPECT_EQ(md5Hex(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
    EXPECT_EQ(md5Hex(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
    EXPECT_EQ(md5Hex(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
}

TEST(TooltipChecksum, StartsItsSumsAtElevenAndThirteen) {
    EXPECT_EQ(tooltipChecksum(""), 13 * 65536 + 11);
    // "a" = 97: first 108, second 121.
    EXPECT_EQ(tooltipChecksum("a"), 121 * 65536 + 108);
    EXPECT_EQ(tooltipChecksum("\xff"), (13 + 11 + 255) * 65536 + 11 + 255);
}

TEST(TooltipChecksum, ReducesLongTextsModulo65521) {
    std::string text(20000, '\xff');
    uint64_t first = 11;
    uint64_t second = 13;
    for (unsigned char c : text) {
        first += c;
        second += first;
    }
    uint32_t expected =
        static_cast<uint32_t>(second % 65521) << 16 | static_cast<uint32_t>(first % 65521);
    EXPECT_EQ(tooltipChecksum(text), static_cast<int>(expected));
}
