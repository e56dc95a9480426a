// Signature values: known keys and values (made once with openssl over "abc") verified, and
// each changed or mismatched part refused in words; signed launchers (the fuzz seeds) read
// whole, and what one costs.
#include "base/digest.h"
#include "pe/der_reader.h"
#include "pe/authenticode.h"
#include "pe/signature_value.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// SubjectPublicKeyInfo of an RSA 2048 key and of one EC key on each curve; values of "abc".
const char RsaKey[] =
    "30820122300d06092a864886f70d01010105000382010f003082010a0282010100e4cfa39fb108426c9a9cbced7c3b44cad8"
    "10eb6467c27db47eb138054aaf59304b36d62aabbd17cbf35150c7b32011da77b2d223b87edbd7c44aa44128a2deb5c475cc"
    "38cef9099781737e4d5b1653013f07b37cf08e6e376300ac933a534be58b4ec3db0d3fe9b850825f275a54c3e60b3e86ce79"
    "ef6f008c4b1a40057afae8f5a5f33415a03657ee79d87923797d0c71841d86de90db61ecf8ff8c3826d48ec8ffc132223ed9"
    "ae360d0d7fc2a89254a8a6047ce92be5cc66760aaf3170f870a878f366363e91554645ed43e511297b132e365519e827c6b9"
    "af74a03ba9cd141e790d1d6c955e71f23732e1df3b071a9f5d4e0d942874424d5a5d1f93871c110203010001";
const char P256Key[] =
    "3059301306072a8648ce3d020106082a8648ce3d030107034200049c8ba9ed43c253be7294914c472bdae05aa18715104590"
    "5e733b1a5e0085fba15adaffb147739fd2439b1b8839e36ccebe11b6bc898598c84c6da72805b3ebe8";
const char P384Key[] =
    "3076301006072a8648ce3d020106052b8104002203620004c66bca68b2b495adbc0b37920171344fcdaf75da78e2de09bdc0"
    "72ddf10c99997288298b0e9ef04e893d2874fdb940aecc3f5c39ce515bee98503fa0ea87734dc438046eca9980bf5b298759"
    "0277af8070f6b79226e2015cdc86bc890f685b36";
const char P521Key[] =
    "30819b301006072a8648ce3d020106052b810400230381860004007d17d84b8a17a836f85cf4afd1fbe044dfe3f3356ca5d9"
    "bf37205ecdb3d2ae2bf32fac6ca731d582d032689237dd75329d44b26edc8f54a18d17a149a4dfe6c1980080bc824f0a3c3c"
    "c07a2da0d60e75b795d7b916fe18cf552181e0a76c5a006892e31d807fb4833ad2e0d992fd3dab2edfa73de261104c9d7117"
    "acaf2f1b840f90af";
const char RsaSha256[] =
    "6f9692da5cac2e31debdd41aeb867aad63cd28bcdf603c8f7da537ca2fea7537a4a4a2c766adc8ee12a32a105b45eebd4eb5"
    "99cfeea5a7db9b95a435fa644aa1606c51be65645bf612bfc8bcce69ea3097f33c5dd06c6c821f50238fa066f4455be613ca"
    "b052d69d849285f455b3fededfa10e2c216519313846524342e0357e100978c2e6eebe9a81a547c12446cb15600940988fd5"
    "5c3fc4c75236eb6581f89eb1ab797a4c40576d1e8382e77d727f785d01cabaeb277ff722fb38261f42a2bb2a08e5353a01c0"
    "f5464a8a6a508adbd5394f8465e6ad8f5e2f4f5e78a531c23427422180bca12e78c7f7572ac96c79b18b8d246807477c6789"
    "8f3ce90fad86";
const char RsaSha1[] =
    "8c81f46242ec86910b7b977e806f1d59444a4873cb969e5d9c00014dae1ec9a6557b5c90fea22891ce0b37ced6943d1775da"
    "f3e04a60315ec8b88287517b56b95fe4b805a7caf405b374014f8717525a4f18a586dffac6b09c2c59e1f1075714fe6c7727"
    "18e29673f12c01a430c898b7010f7d87693cd43e9c7c90732e2dc6a54757c14ee3047bf89d726df75ef2fa36bce3f761364f"
    "5c6fec2225874b3ce9524b9845cb3766e9a291e61932e25cf6e740e9fd04f6154dc8c2ff49b96318beb251f3349695da1053"
    "04270d760e23c769b39a7d0c091402e1886de8fb3f9ab6f772b41ba7f7501b21b7745f65a1505639d9559765a4c8e5c38a22"
    "d8262d24774d";
const char PssSha256[] =
    "cc5486ba9a6f698534daf9a0bb8abaaf1e668ae3abb90355e0dd714c7d115ac745986786c699e84b9830e68715570b3ad375"
    "9fae591355411de2120b4248a11020c2accd3c0758e779d7d6860e6bb79b415158ea8e31bbc76b381d3f3a0116eec666ef08"
    "0cf5f02e465c6789b7659ad4b1a73fe0a744daef7e39c64a65b4d16bfbdabf4ec0a54987561abb18c68442d180fcba6c23d1"
    "9c6ec6fad9a5cb88b87edb61bdf1f594ff2418b6ec83cb93ad53aa7b0e015503ab2cd16efe4ab556dcef168fd4b2e9f954e7"
    "2081c29ad5caf85c46794f1ce5aab1417cd8f846d9a5de0b0255b0bab9ea31a303776de14a20182c5a8efa79f73fd6a5400b"
    "b27edd996afc";
const char PssSha384[] =
    "9726a7e40569971a9a3b55dfc9f16f7f958fefc2ac2090a91fd6309a09cf28f8eff5e53eae920032f0ac27e9bb206aa74b9d"
    "01de872d2e9e7f57496cd69c3b7f7c8d7d66d2d8dc76f6e8dc7f3223800e60e45d854c7c5ba468fb36b95e6eadd9fda15af7"
    "1a3762175d92e68c1516ab69278cecbb108a8bb142b895341625f35199c170c8d5d9cd5ff41feb1e15bd74741c7b6b39442d"
    "29c0b310d545172947d81bbd1213048695fd972104b4ff12b17a660e4b8b0d6f78ec625718e77ae17d07929c20936c11f1ac"
    "18b2fd8f26bb43a0f0126faaf365809468050604e56b14673dfe9b466e47a639b7f4afd0956fd32164b9ce46e5966f521575"
    "f5e2330036b7";
const char P256Sha256[] =
    "304502205069f09ef30245289e277713ebd42a4eaa46a0607cc68504ba4a915575528f4d022100d340f2b3f0f3123d252ea4"
    "ef348f31821cf4414a234de7ca4b9cadaf62687dc9";
const char P384Sha384[] =
    "306402307930d8dc2a25c430bf75fa0fe400b35cab413fe2274d7995e24b820c63acf5a2a451df8090f9f592538946f631af"
    "67ae023027428f95424c754ae7712f842616d3e92284b5a1cd06bf82ad12531cb029b9113b38b658d07be65290982d6444b2"
    "dc15";
const char P521Sha512[] =
    "30818702420158c98c3d8d7534505bc0ad11d0d32664e58839af699ebbf19680316e995c0a88bbaf2c67354474b2e7672dd3"
    "87cb40fa880513696d485543768a843581af2a8f6d02413c644094bb19fff841789813b5dfbb7c53c0ab5cc4098beda37677"
    "62f51cbd4967fcfe9562cd73649f726d7a7f607dacd3228467bbc974b7eb2499f90a1576c8ab";

// AlgorithmIdentifiers a SignerInfo names.
const char RsaEncryption[] = "300d06092a864886f70d0101010500";
const char Sha256WithRsa[] = "300d06092a864886f70d01010b0500";
const char Md5WithRsa[] = "300d06092a864886f70d0101040500";
const char PssSalt32Sha256[] =
    "304106092a864886f70d01010a3034a00f300d06096086480165030402010500a11c301a06092a864886f70d010108300d0609608648016503"
    "0402010500a203020120";
const char PssSalt48Sha384[] =
    "304106092a864886f70d01010a3034a00f300d06096086480165030402020500a11c301a06092a864886f70d010108300d0609608648016503"
    "0402020500a203020130";
const char PssSalt20Sha256[] =
    "304106092a864886f70d01010a3034a00f300d06096086480165030402010500a11c301a06092a864886f70d010108300d0609608648016503"
    "0402010500a203020114";
const char EcdsaWithSha384[] = "300a06082a8648ce3d040303";
const char EcPublicKey[] = "300906072a8648ce3d0201";

Bytes FromHex(const std::string& hex)
{
    Bytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

DerElement Whole(const Bytes& bytes)
{
    DerReader reader(bytes.data(), bytes.size());
    DerElement element;
    reader.Next(element);
    return element;
}

// The value as a SignerInfo holds it: the content of an OCTET STRING.
DerElement Value(const Bytes& bytes)
{
    DerElement element;
    element.tag = der::OctetString;
    element.start = bytes.data();
    element.value = bytes.data();
    element.valueSize = bytes.size();
    element.size = bytes.size();
    return element;
}

struct ValueRow {
    const char* name;
    const char* key;
    const char* algorithm;
    DigestAlgorithm digest;
    const char* value;
    const char* problem;  // empty: it verifies
};

const ValueRow ValueRows[] = {
    {"RSA PKCS#1 v1.5, SHA-256", RsaKey, RsaEncryption, DigestAlgorithm::Sha256, RsaSha256, ""},
    {"RSA PKCS#1 v1.5 named with its digest", RsaKey, Sha256WithRsa, DigestAlgorithm::Sha256, RsaSha256, ""},
    {"RSA PKCS#1 v1.5, SHA-1", RsaKey, RsaEncryption, DigestAlgorithm::Sha1, RsaSha1, ""},
    {"RSA-PSS, SHA-256, salt 32", RsaKey, PssSalt32Sha256, DigestAlgorithm::Sha256, PssSha256, ""},
    {"RSA-PSS, SHA-384, salt 48", RsaKey, PssSalt48Sha384, DigestAlgorithm::Sha384, PssSha384, ""},
    {"ECDSA P-256, SHA-256", P256Key, EcPublicKey, DigestAlgorithm::Sha256, P256Sha256, ""},
    {"ECDSA P-384, SHA-384", P384Key, EcdsaWithSha384, DigestAlgorithm::Sha384, P384Sha384, ""},
    {"ECDSA P-521, SHA-512", P521Key, EcPublicKey, DigestAlgorithm::Sha512, P521Sha512, ""},
    // Mismatches: each is refused, in its own words.
    {"a SHA-256 value taken for SHA-384", RsaKey, RsaEncryption, DigestAlgorithm::Sha384, RsaSha256, "not made with the key"},
    {"a PKCS#1 v1.5 value taken for PSS", RsaKey, PssSalt32Sha256, DigestAlgorithm::Sha256, RsaSha256, "not made with the key"},
    {"PSS with another salt length", RsaKey, PssSalt20Sha256, DigestAlgorithm::Sha256, PssSha256, "not made with the key"},
    {"PSS parameters naming another digest", RsaKey, PssSalt48Sha384, DigestAlgorithm::Sha256, PssSha256, "another digest"},
    {"an ECDSA value with another curve's key", P384Key, EcPublicKey, DigestAlgorithm::Sha256, P256Sha256, "not made with the key"},
    {"ECDSA named over an RSA key", RsaKey, EcPublicKey, DigestAlgorithm::Sha256, P256Sha256, "does not fit"},
    {"RSA named over an EC key", P256Key, RsaEncryption, DigestAlgorithm::Sha256, RsaSha256, "does not fit"},
    {"MD5 with RSA", RsaKey, Md5WithRsa, DigestAlgorithm::Sha256, RsaSha256, "(1.2.840.113549.1.1.4)"},
    {"a key that is no SubjectPublicKeyInfo", RsaEncryption, RsaEncryption, DigestAlgorithm::Sha256, RsaSha256,
     "cannot be read"},
};

TEST(SignatureValue, KnownValuesVerifyAndMismatchesAreRefused)
{
    const unsigned char abc[] = {'a', 'b', 'c'};
    for (const ValueRow& row : ValueRows) {
        const Bytes key = FromHex(row.key), algorithm = FromHex(row.algorithm), value = FromHex(row.value);
        const Bytes digest = DigestOf(row.digest, abc, sizeof abc);
        std::string problem;
        const bool verified = VerifySignatureValue(Whole(key), Whole(algorithm), row.digest, digest, Value(value), problem);
        EXPECT_EQ(verified, std::string(row.problem).empty()) << row.name << ": " << problem;
        EXPECT_NE(problem.find(row.problem), std::string::npos) << row.name << ": " << problem;
    }
}

TEST(SignatureValue, OneByteChangedAnywhereDoesNotVerify)
{
    const unsigned char abc[] = {'a', 'b', 'c'};
    for (const ValueRow& row : ValueRows) {
        if (*row.problem != '\0')
            continue;
        const Bytes key = FromHex(row.key), algorithm = FromHex(row.algorithm), value = FromHex(row.value);
        const Bytes digest = DigestOf(row.digest, abc, sizeof abc);
        // The value's first, middle and last byte, and the digest's first.
        for (std::size_t at : {std::size_t{0}, value.size() / 2, value.size() - 1}) {
            Bytes changed = value;
            changed[at] ^= 0x01;
            std::string problem;
            EXPECT_FALSE(VerifySignatureValue(Whole(key), Whole(algorithm), row.digest, digest, Value(changed), problem))
                << row.name << ", value byte " << at;
        }
        Bytes otherDigest = digest;
        otherDigest[0] ^= 0x80;
        std::string problem;
        EXPECT_FALSE(VerifySignatureValue(Whole(key), Whole(algorithm), row.digest, otherDigest, Value(value), problem))
            << row.name << ", another digest";
        EXPECT_NE(problem.find("not made with the key"), std::string::npos) << row.name << ": " << problem;
        // The key's point or modulus changed: refused, whether it can be read or not.
        Bytes otherKey = key;
        otherKey[otherKey.size() - 8] ^= 0x01;
        EXPECT_FALSE(VerifySignatureValue(Whole(otherKey), Whole(algorithm), row.digest, digest, Value(value), problem))
            << row.name << ", another key";
    }
}

// The fuzz seeds: a launcher signed with RSA, SHA-1 and a nested SHA-256 signature; one signed
// with ECDSA P-256 and an RSA timestamp. The byte changed in each signature's value is found by
// the value's own bytes (from its SignerInfo's OCTET STRING).
TEST(SignatureValue, SignedLaunchersVerifyAndOneByteOfAValueBreaksThem)
{
    struct Row {
        const char* seed;
        const char* signer;
        bool timestamped;
        std::size_t signatures;
    };
    const Row rows[] = {
        {"nested-signed-launcher.exe", "Borvi Test Signer", false, 2},
        {"ecdsa-timestamped-launcher.exe", "Fuzz Seed", true, 1},
    };
    for (const Row& row : rows) {
        std::ifstream in(std::string(AUTHENTICODE_SEEDS) + "/" + row.seed, std::ios::binary);
        const Bytes file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_FALSE(file.empty()) << row.seed;
        const auto start = std::chrono::steady_clock::now();
        constexpr int Rounds = 20;
        SignatureInfo info;
        for (int i = 0; i < Rounds; ++i)
            info = ReadSignature(file);
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / Rounds;
        std::printf("verifying the signatures of %s: %.2f ms\n", row.seed, ms);
        EXPECT_EQ(info.state, SignatureState::Signed) << row.seed << ": " << info.problem;
        EXPECT_EQ(info.signer, row.signer) << row.seed;
        EXPECT_EQ(info.timestamped, row.timestamped) << row.seed << ": " << info.timestampProblem;
        EXPECT_EQ(info.signatures, row.signatures) << row.seed;
        EXPECT_LT(ms, 250.0) << row.seed;

        // The signature values in the table are its only OCTET STRINGs of 256 bytes (RSA 2048:
        // certificates hold theirs in BIT STRINGs) and its ECDSA-Sig-Values (04 LEN 30 LEN-2).
        // One byte changed in each: a signer's breaks the signature, a timestamp's uncounts it.
        std::size_t values = 0, timestamps = 0;
        for (std::size_t at = 0; at + 4 < file.size(); ++at) {
            const bool rsa = file[at] == 0x04 && file[at + 1] == 0x82 && file[at + 2] == 0x01 && file[at + 3] == 0x00;
            const bool ecdsa = file[at] == 0x04 && file[at + 1] >= 0x46 && file[at + 1] <= 0x48 && file[at + 2] == 0x30 &&
                               file[at + 3] == file[at + 1] - 2;
            DerReader reader(&file[at], file.size() - at);
            DerElement element;
            if (!(rsa || ecdsa) || !reader.Next(element))
                continue;
            Bytes changed = file;
            changed[at + element.size - 1] ^= 0x01;
            const SignatureInfo after = ReadSignature(changed);
            ++values;
            if (after.state == SignatureState::Signed) {
                ++timestamps;
                EXPECT_FALSE(after.timestamped) << row.seed << " at " << at;
                EXPECT_NE(after.timestampProblem.find("signature value of the timestamp does not verify"), std::string::npos)
                    << row.seed << " at " << at << ": " << after.timestampProblem;
            } else {
                EXPECT_EQ(after.state, SignatureState::Broken) << row.seed << " at " << at;
                EXPECT_NE(after.problem.find("signature value of the signed content does not verify"), std::string::npos)
                    << row.seed << " at " << at << ": " << after.problem;
            }
        }
        EXPECT_EQ(values, row.signatures + (row.timestamped ? 1 : 0)) << row.seed;
        EXPECT_EQ(timestamps, row.timestamped ? 1u : 0u) << row.seed;
    }
}

}  // namespace
