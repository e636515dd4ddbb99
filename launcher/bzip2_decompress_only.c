/* Carton only decompresses. The archive class still offers libbz2's writing
   side, and libbz2's stream functions reach the block coder from their
   writing branches, which would link some 22 KB of compressor (compress.c,
   blocksort.c) into every installer. The launcher links this stand-in
   instead; nothing in the launcher writes a bzip2 stream, so reaching it is
   a programming error and ends the program rather than writing a broken
   stream. The packing tool links the real library. */
#include <stdlib.h>

#include "bzlib_private.h"

void BZ2_compressBlock(EState* s, Bool is_last_block)
{
    (void)s;
    (void)is_last_block;
    abort();
}
