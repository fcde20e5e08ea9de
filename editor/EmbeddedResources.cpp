#include "editor/EmbeddedResources.h"

#include "StompvaleBinaryData.h"

namespace embedded
{
#define STOMPVALE_EMBED(name, file)                                                                \
    const EmbeddedData name { StompvaleBinaryData::file, StompvaleBinaryData::file##Size };

STOMPVALE_EMBED (ledLettersImage, ledLettersImage_jpg)
STOMPVALE_EMBED (pedalBodyImage, pedalBodyImage_png)
STOMPVALE_EMBED (footswitchOnImage, footswitchOnImage_png)
STOMPVALE_EMBED (footswitchOffImage, footswitchOffImage_png)
STOMPVALE_EMBED (boardBackgroundImage, boardBackgroundImage_jpg)
STOMPVALE_EMBED (makerWordmarkImage, makerWordmarkImage_png)
STOMPVALE_EMBED (knobPathA, knobPathA_bin)
STOMPVALE_EMBED (knobPathB, knobPathB_bin)
STOMPVALE_EMBED (swapIconPath, swapIconPath_bin)
STOMPVALE_EMBED (changesIconPath, changesIconPath_bin)

#undef STOMPVALE_EMBED
} // namespace embedded
