# Compiled-in data, listed by name. The pictures and path data are made by the programs in tools/.
juce_add_binary_data (StompvaleBinaryData
    HEADER_NAME StompvaleBinaryData.h
    NAMESPACE StompvaleBinaryData
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/../resources/images/ledLettersImage.jpg
        ${CMAKE_CURRENT_LIST_DIR}/../resources/images/pedalBodyImage.png
        ${CMAKE_CURRENT_LIST_DIR}/../resources/images/footswitchOnImage.png
        ${CMAKE_CURRENT_LIST_DIR}/../resources/images/footswitchOffImage.png
        ${CMAKE_CURRENT_LIST_DIR}/../resources/images/boardBackgroundImage.jpg
        ${CMAKE_CURRENT_LIST_DIR}/../resources/images/makerWordmarkImage.png
        ${CMAKE_CURRENT_LIST_DIR}/../resources/paths/knobPathA.bin
        ${CMAKE_CURRENT_LIST_DIR}/../resources/paths/knobPathB.bin
        ${CMAKE_CURRENT_LIST_DIR}/../resources/paths/swapIconPath.bin
        ${CMAKE_CURRENT_LIST_DIR}/../resources/paths/changesIconPath.bin)
set_target_properties (StompvaleBinaryData PROPERTIES POSITION_INDEPENDENT_CODE ON)
