# cmake -DIN=FILE -DOUT=FILE.cpp -DNAME=SYMBOL -P embed_page.cmake
#
# Writes FILE into a C++ source as the text kestrel::SYMBOL, a char array
# ending in a zero byte: a web page built into the program, so that the
# program needs nothing beside it. The source is rewritten only when the page
# changed.
cmake_minimum_required(VERSION 3.25)
file(READ "${IN}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REPEAT "0x..," 16 line)
string(REGEX REPLACE "(${line})" "\\1\n" bytes "${bytes}")
get_filename_component(page "${IN}" NAME)
file(WRITE "${OUT}.new" "// Made by embed_page.cmake from ${page}: do not edit.\nnamespace kestrel {\nextern const char ${NAME}[];\nconst char ${NAME}[] = {\n${bytes}0};\n}  // namespace kestrel\n")
file(COPY_FILE "${OUT}.new" "${OUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUT}.new")
