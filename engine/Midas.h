/* The Velmora sound engine: loads tracker modules (MOD, S3M, XM and whatever
 * else the decoder reads), mixes them in the background and reports the
 * playing order position. A C interface; every truth result is 1 on success
 * and 0 on failure, every handle 0 on failure. After a failure,
 * MIDASgetLastError gives its code and MIDASgetErrorMessage the text. */
#ifndef VELMORA_ENGINE_MIDAS_H
#define VELMORA_ENGINE_MIDAS_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(VELMORA_ENGINE_BUILD)
#define MIDAS_API __declspec(dllexport)
#else
#define MIDAS_API __declspec(dllimport)
#endif
#define MIDAS_CALL __stdcall
#else
#define MIDAS_API __attribute__((visibility("default")))
#define MIDAS_CALL
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t MIDASmodule;           /* 0: none */
typedef uint32_t MIDASmodulePlayHandle; /* 0: none */

/* Options, set between MIDASstartup and MIDASinit. */
enum {
    MIDAS_OPTION_MIXRATE = 1,      /* output rate in Hz, 4000..192000 (others are clamped) */
    MIDAS_OPTION_OUTPUTMODE = 2,   /* one of MIDAS_MODE_* */
    MIDAS_OPTION_MIXBUFLEN = 3,    /* mixing buffer length in ms */
    MIDAS_OPTION_MIXBUFBLOCKS = 4, /* number of blocks the buffer is cut into */
    MIDAS_OPTION_FILTER_MODE = 10  /* 0 none, 1 less, 2 more; others are none */
};

enum { MIDAS_MODE_8BIT_MONO = 5, MIDAS_MODE_8BIT_STEREO = 6, MIDAS_MODE_16BIT_MONO = 9, MIDAS_MODE_16BIT_STEREO = 10 };

/* Codes of MIDASgetLastError; MIDASgetErrorMessage gives the text of the
 * last failure for its code (with the file or device it concerns), or a
 * general text for any other code. */
enum {
    MIDAS_ERROR_OK = 0,
    MIDAS_ERROR_UNDEFINED = 1,
    MIDAS_ERROR_OUT_OF_MEMORY = 2,
    MIDAS_ERROR_NOT_INITIALISED = 3,
    MIDAS_ERROR_ALREADY_INITIALISED = 4,
    MIDAS_ERROR_NO_OUTPUT = 5,
    MIDAS_ERROR_FILE_OPEN = 6,
    MIDAS_ERROR_BAD_MODULE = 7,
    MIDAS_ERROR_INVALID_MODULE = 8,
    MIDAS_ERROR_INVALID_PLAY_HANDLE = 9,
    MIDAS_ERROR_INVALID_ARGUMENT = 10
};

/* 20 bytes; only position is filled in meaningfully by every engine. */
typedef struct {
    int32_t position; /* order position being heard, from 0 */
    int32_t pattern;
    int32_t row;
    int32_t syncInfo;
    int32_t songLoopCount;
} MIDASplayStatus;

/* 48 bytes. */
typedef struct {
    char songName[32];
    uint32_t songLength; /* number of order positions */
    uint32_t numPatterns;
    uint32_t numInstruments;
    uint32_t numChannels;
} MIDASmoduleInfo;

MIDAS_API int MIDAS_CALL MIDASstartup(void);
MIDAS_API int MIDAS_CALL MIDASsetOption(int option, int value);
MIDAS_API int MIDAS_CALL MIDASinit(void);
MIDAS_API int MIDAS_CALL MIDASstartBackgroundPlay(uint32_t pollRate);
MIDAS_API int MIDAS_CALL MIDASstopBackgroundPlay(void);
MIDAS_API int MIDAS_CALL MIDASclose(void);
MIDAS_API MIDASmodule MIDAS_CALL MIDASloadModule(const char* fileName);
/* loopSong 1: the song loops from its restart position forever. */
MIDAS_API MIDASmodulePlayHandle MIDAS_CALL MIDASplayModule(MIDASmodule module, int loopSong);
MIDAS_API int MIDAS_CALL MIDASstopModule(MIDASmodulePlayHandle playHandle);
MIDAS_API int MIDAS_CALL MIDASfreeModule(MIDASmodule module);
MIDAS_API int MIDAS_CALL MIDASgetPlayStatus(MIDASmodulePlayHandle playHandle, MIDASplayStatus* status);
MIDAS_API int MIDAS_CALL MIDASgetModuleInfo(MIDASmodule module, MIDASmoduleInfo* info);
MIDAS_API int MIDAS_CALL MIDASsetPosition(MIDASmodulePlayHandle playHandle, int32_t newPosition);
MIDAS_API int MIDAS_CALL MIDASgetLastError(void);
MIDAS_API const char* MIDAS_CALL MIDASgetErrorMessage(int errorCode);

/* What this engine offers beyond the classic functions: pause, a master
 * volume, play time, the module's own texts, and the output's name. */

/* 1: the sound fades out and the place holds; 0: it fades back in from there. */
MIDAS_API int MIDAS_CALL MIDASpauseModule(MIDASmodulePlayHandle playHandle, int pause);
/* Master volume in per cent of full scale, 0..100 (linear amplitude; others
 * are clamped); ramped, never a step. Kept across MIDASclose and MIDASinit. */
MIDAS_API int MIDAS_CALL MIDASsetMasterVolume(int volume);
/* Play time of what is heard, in ms from the song's start; after a jump,
 * the time play goes on from. */
MIDAS_API int MIDAS_CALL MIDASgetPlayTime(MIDASmodulePlayHandle playHandle, uint32_t* milliseconds);
/* Play goes on from the row playing at that time from the song's start. */
MIDAS_API int MIDAS_CALL MIDASsetPlayTime(MIDASmodulePlayHandle playHandle, uint32_t milliseconds);

/* The module's texts as stored (UTF-8, cut to fit; empty when the format
 * keeps none) and the length of one pass through the song. */
typedef struct {
    char title[256];
    char artist[256];
    uint32_t durationMs;
} MIDASmoduleDetails;
MIDAS_API int MIDAS_CALL MIDASgetModuleDetails(MIDASmodule module, MIDASmoduleDetails* details);
/* The name of instrument `index` (from 0; sample names where the format has
 * no instruments), zero-terminated and cut to fit `size` bytes. */
MIDAS_API int MIDAS_CALL MIDASgetInstrumentName(MIDASmodule module, int index, char* name, int size);

/* How the sound server lists the output (UTF-8): the application and the
 * stream. Takes effect at the next MIDASinit. It sets SDL's hints, which are
 * process-wide and unguarded: call it before other threads use SDL. */
MIDAS_API int MIDAS_CALL MIDASsetOutputName(const char* application, const char* stream);

#ifdef __cplusplus
}
#endif

#endif
