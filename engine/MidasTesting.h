/* Entry points for the engine's tests and measurements, not for the program:
 * they mix by hand what the sound device would otherwise pull. */
#ifndef VELMORA_ENGINE_MIDASTESTING_H
#define VELMORA_ENGINE_MIDASTESTING_H

#include "engine/Midas.h"

#ifdef __cplusplus
extern "C" {
#endif

/* Mixes the next `bytes` of output (whole frames, in the opened output
 * format) into buffer, exactly as the device would receive them. Only while
 * background play is stopped. */
MIDAS_API int MIDAS_CALL MIDASmixInto(void* buffer, uint32_t bytes);

/* The output the options came to at MIDASinit: rate in Hz, 1 or 2 channels,
 * 8 or 16 bits, and the frames of one device buffer. */
MIDAS_API int MIDAS_CALL MIDASgetOutputFormat(int32_t* rate, int32_t* channels, int32_t* bits, int32_t* bufferFrames);

#ifdef __cplusplus
}
#endif

#endif
