/* mbedTLS's configuration for launcher-stamp: verifying signature values only (RSA PKCS#1 v1.5
 * and PSS, ECDSA on P-256, P-384 and P-521), no random numbers, no files, no time, no
 * assembly, so that every build computes the same way. */
#ifndef LAUNCHER_MBEDTLS_CONFIG_H
#define LAUNCHER_MBEDTLS_CONFIG_H

/* Required on Windows, for its snprintf; the same in every build. */
#define MBEDTLS_PLATFORM_C

#define MBEDTLS_BIGNUM_C
#define MBEDTLS_OID_C
#define MBEDTLS_ASN1_PARSE_C
#define MBEDTLS_ASN1_WRITE_C
#define MBEDTLS_MD_C
#define MBEDTLS_SHA1_C
#define MBEDTLS_SHA256_C
#define MBEDTLS_SHA512_C

#define MBEDTLS_RSA_C
#define MBEDTLS_PKCS1_V15
#define MBEDTLS_PKCS1_V21

#define MBEDTLS_ECP_C
#define MBEDTLS_ECDSA_C
#define MBEDTLS_ECP_DP_SECP256R1_ENABLED
#define MBEDTLS_ECP_DP_SECP384R1_ENABLED
#define MBEDTLS_ECP_DP_SECP521R1_ENABLED
#define MBEDTLS_ECP_NIST_OPTIM
/* Only public values are computed with: no blinding, so no random numbers. */
#define MBEDTLS_ECP_NO_INTERNAL_RNG

#include "mbedtls/check_config.h"

#endif
