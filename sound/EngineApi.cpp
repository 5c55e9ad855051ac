#include "sound/EngineApi.h"

const TMidasApi& MidasLibrary()
{
    static const TMidasApi library{
        .MIDASstartup = &::MIDASstartup,
        .MIDASsetOption = &::MIDASsetOption,
        .MIDASinit = &::MIDASinit,
        .MIDASstartBackgroundPlay = &::MIDASstartBackgroundPlay,
        .MIDASstopBackgroundPlay = &::MIDASstopBackgroundPlay,
        .MIDASclose = &::MIDASclose,
        .MIDASloadModule = &::MIDASloadModule,
        .MIDASplayModule = &::MIDASplayModule,
        .MIDASstopModule = &::MIDASstopModule,
        .MIDASfreeModule = &::MIDASfreeModule,
        .MIDASgetPlayStatus = &::MIDASgetPlayStatus,
        .MIDASgetModuleInfo = &::MIDASgetModuleInfo,
        .MIDASsetPosition = &::MIDASsetPosition,
        .MIDASgetLastError = &::MIDASgetLastError,
        .MIDASgetErrorMessage = &::MIDASgetErrorMessage,
        .MIDASpauseModule = &::MIDASpauseModule,
        .MIDASsetMasterVolume = &::MIDASsetMasterVolume,
        .MIDASgetPlayTime = &::MIDASgetPlayTime,
        .MIDASsetPlayTime = &::MIDASsetPlayTime,
        .MIDASgetModuleDetails = &::MIDASgetModuleDetails,
        .MIDASgetInstrumentName = &::MIDASgetInstrumentName,
        .MIDASsetOutputName = &::MIDASsetOutputName,
    };
    return library;
}
