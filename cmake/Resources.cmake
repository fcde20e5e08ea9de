# Compiled-in data. The pictures and path data are made by the programs in tools/.
add_library (StompvaleBinaryData INTERFACE)
