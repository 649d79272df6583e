# Writes OUTPUT, a C++ source that holds the bytes of each of FILES (a list) as a PageFile named
# "/" plus its file name; run as `cmake -DOUTPUT=... -DFILES=... -P EmbedFiles.cmake`.
set(body "")
set(entries "")
set(index 0)
foreach(file IN LISTS FILES)
  get_filename_component(name ${file} NAME)
  file(READ ${file} hex HEX)
  string(LENGTH "${hex}" hex_length)
  math(EXPR size "${hex_length} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${hex}")
  string(APPEND body "const char kFile${index}[] = {${bytes} 0};\n")
  string(APPEND entries "    {\"/${name}\", std::string_view(kFile${index}, ${size})},\n")
  math(EXPR index "${index} + 1")
endforeach()
file(WRITE ${OUTPUT}.tmp "// Made by EmbedFiles.cmake from web/page/: do not edit.
#include \"web/PageFiles.h\"

namespace tickerlux::web {
namespace {
${body}} // namespace

const std::vector<PageFile>& PageFiles()
{
    static const std::vector<PageFile> files = {
${entries}    };
    return files;
}

} // namespace tickerlux::web
")
file(COPY_FILE ${OUTPUT}.tmp ${OUTPUT} ONLY_IF_DIFFERENT)
file(REMOVE ${OUTPUT}.tmp)
