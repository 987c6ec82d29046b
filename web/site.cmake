# Writes the site's worker (sw.js) from its template: the build's name is a
# digest of every file the site serves, so that any change is a new build
# whose worker replaces the old one's store.
#   cmake -DSITE=DIR -DTEMPLATE=sw.js -DFILES="a;b;..." -P site.cmake
cmake_minimum_required(VERSION 3.25)
set(digests "")
foreach(file IN LISTS FILES)
    file(SHA256 ${SITE}/${file} digest)
    string(APPEND digests "${file} ${digest}\n")
endforeach()
string(SHA256 build "${digests}")
string(SUBSTRING ${build} 0 16 BUILD)
set(list "'./'")
foreach(file IN LISTS FILES)
    string(APPEND list ", '${file}'")
endforeach()
file(READ ${TEMPLATE} text)
string(REPLACE "@BUILD@" "${BUILD}" text "${text}")
string(REPLACE "@FILES@" "${list}" text "${text}")
file(WRITE ${SITE}/sw.js.new "${text}")
file(COPY_FILE ${SITE}/sw.js.new ${SITE}/sw.js ONLY_IF_DIFFERENT)
file(REMOVE ${SITE}/sw.js.new)
