#pragma once

// The engine entry points the sound player calls, gathered in one table so
// that a different engine (a recording one in the tests) can stand in for
// the library. The members carry the names of the functions they point to.

#include "engine/Midas.h"

struct TMidasApi {
    int(MIDAS_CALL* MIDASstartup)(void);
    int(MIDAS_CALL* MIDASsetOption)(int option, int value);
    int(MIDAS_CALL* MIDASinit)(void);
    int(MIDAS_CALL* MIDASstartBackgroundPlay)(uint32_t pollRate);
    int(MIDAS_CALL* MIDASstopBackgroundPlay)(void);
    int(MIDAS_CALL* MIDASclose)(void);
    MIDASmodule(MIDAS_CALL* MIDASloadModule)(const char* fileName);
    MIDASmodulePlayHandle(MIDAS_CALL* MIDASplayModule)(MIDASmodule module, int loopSong);
    int(MIDAS_CALL* MIDASstopModule)(MIDASmodulePlayHandle playHandle);
    int(MIDAS_CALL* MIDASfreeModule)(MIDASmodule module);
    int(MIDAS_CALL* MIDASgetPlayStatus)(MIDASmodulePlayHandle playHandle, MIDASplayStatus* status);
    int(MIDAS_CALL* MIDASgetModuleInfo)(MIDASmodule module, MIDASmoduleInfo* info);
    int(MIDAS_CALL* MIDASsetPosition)(MIDASmodulePlayHandle playHandle, int32_t newPosition);
    int(MIDAS_CALL* MIDASgetLastError)(void);
    const char*(MIDAS_CALL* MIDASgetErrorMessage)(int errorCode);
    int(MIDAS_CALL* MIDASpauseModule)(MIDASmodulePlayHandle playHandle, int pause);
    int(MIDAS_CALL* MIDASsetMasterVolume)(int volume);
    int(MIDAS_CALL* MIDASgetPlayTime)(MIDASmodulePlayHandle playHandle, uint32_t* milliseconds);
    int(MIDAS_CALL* MIDASsetPlayTime)(MIDASmodulePlayHandle playHandle, uint32_t milliseconds);
    int(MIDAS_CALL* MIDASgetModuleDetails)(MIDASmodule module, MIDASmoduleDetails* details);
    int(MIDAS_CALL* MIDASgetInstrumentName)(MIDASmodule module, int index, char* name, int size);
    int(MIDAS_CALL* MIDASsetOutputName)(const char* application, const char* stream);
};

// The MIDAS functions of the engine library the program ships with.
const TMidasApi& MidasLibrary();
