# Compiled-in data, listed by name. The pictures and path data are made by the programs in tools/art/.
set (STOMPVALE_RESOURCE_FILES
    resources/images/ledLettersImage.jpg
    resources/images/pedalBodyImage.png
    resources/images/footswitchOnImage.png
    resources/images/footswitchOffImage.png
    resources/images/boardBackgroundImage.jpg
    resources/images/makerWordmarkImage.png
    resources/paths/knobPathA.bin
    resources/paths/knobPathB.bin
    resources/paths/swapIconPath.bin
    resources/paths/changesIconPath.bin)
list (TRANSFORM STOMPVALE_RESOURCE_FILES PREPEND "${CMAKE_CURRENT_LIST_DIR}/../")

juce_add_binary_data (StompvaleBinaryData
    HEADER_NAME StompvaleBinaryData.h
    NAMESPACE StompvaleBinaryData
    SOURCES ${STOMPVALE_RESOURCE_FILES})
set_target_properties (StompvaleBinaryData PROPERTIES POSITION_INDEPENDENT_CODE ON)

# juce_add_binary_data regenerates its arrays only when its list of file names changes, not when a
# file's content does. A changed resource re-runs the configure step, which rewrites that list, so
# the arrays always hold the committed pictures.
set_property (DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${STOMPVALE_RESOURCE_FILES})
