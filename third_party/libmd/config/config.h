/* libmd's config.h for this build: the SHA-1 and SHA-2 sources need none of what configure
   finds, only the byte order (little-endian on every machine this tool is built for: x86,
   x86-64). */
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
#define WORDS_BIGENDIAN 1
#endif
