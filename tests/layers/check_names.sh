#!/usr/bin/env bash
# Fails when two source files of the program give one namespace-scope name to
# two things: a type, or a function or variable with external linkage. Two
# types of one name are one type to the linker, which keeps one copy of their
# inline members and template instantiations and drops the other without a
# word; two helpers of one name are an accident waiting for that. Names in an
# anonymous namespace, static ones and class members are each file's own.
#
# It reads what the compiler recorded, the debug information of the layers'
# libraries: each name at namespace scope and the file that defines it. A
# name defined in one header and seen from many files is one definition.
# (Headers that clash outright already fail to compile together; see
# CMakeLists.txt here.) It needs a build with debug information
# (RelWithDebInfo or Debug) and skips, exit 77, without.
#
# Usage: check_names.sh SOURCE_ROOT LIBRARY...
set -u -o pipefail
root=$(cd "$1" && pwd) || exit 2
shift

# Only the lines that matter, for speed: each entry's depth and tag, its name,
# file and linkage, and the line tables' directory and file lists. Depth 3
# keeps what lies in the top two namespace levels.
readelf --debug-dump=info --debug-dump=line --dwarf-depth=3 "$@" 2>/dev/null |
    grep -E '^File: |^ <[0-9]+><|DW_AT_(name|decl_file|external|declaration) |^  [0-9]+	|^ The (Directory|File Name) Table' |
    awk -F'\t' -v root="$root" '
function text(v) { if (v ~ /^\(indirect/) sub(/^[^)]*\): /, "", v); return v }
function value(v) { sub(/^[^:]*: /, "", v); return text(v) }
# A path as the source tree names it ("generators/slope/flat_diamond.hpp"),
# or "" for a file outside it (the system, Qt, the compiler built-ins).
# Relative paths are relative to the build folder, in or beside the tree.
function ours(path,   top) {
    top = substr(root, 2) "/"
    if (path ~ /<built-in>$/) return ""
    if (index(path, root "/") == 1) return substr(path, length(root) + 2)
    if (path ~ /^\//) return ""
    while (path ~ /^\.\.\//) path = substr(path, 4)
    if (index(path, top) == 1) path = substr(path, length(top) + 1)
    return path
}
function end_entry(   k, q) {
    if (tag == "") return
    if (depth == 0) { units++; tag = ""; return }
    scope[depth] = (tag == "namespace" && name != "") ? name : ""
    if (name == "" || declaration || file < 0 || name ~ /^operator/) { tag = ""; return }
    if (!(tag ~ /^(structure_type|class_type|union_type|enumeration_type|typedef)$/ ||
          ((tag == "subprogram" || tag == "variable") && external))) { tag = ""; return }
    q = ""
    for (k = 1; k < depth; k++) {
        if (scope[k] == "") { tag = ""; return }  # a member, a local, or anonymous
        q = q scope[k] "::"
    }
    entries++
    entry_name[entries] = q name
    entry_file[entries] = file
    tag = ""
}
function end_object(   e, f, where, q) {
    end_entry()
    for (e = 1; e <= entries; e++) {
        f = entry_file[e]
        if (!(f in file_name)) { unread++; continue }
        where = ours(dirs[file_dir[f]] "/" file_name[f])
        q = entry_name[e]
        if (where == "" || (q SUBSEP where) in seen) continue
        seen[q SUBSEP where] = 1
        places[q] = places[q] "\n    " where
        count[q]++
    }
    entries = 0
    split("", dirs); split("", file_dir); split("", file_name)
}
/^File: / { end_object(); part = ""; next }
/^ The Directory Table/ { part = "dirs"; next }
/^ The File Name Table/ { part = "files"; next }
/^  [0-9]+\t/ {
    if (part == "dirs") dirs[$1 + 0] = text($2)
    else if (part == "files") { file_dir[$1 + 0] = $2 + 0; file_name[$1 + 0] = text($3) }
    next
}
/^ <[0-9]+></ {
    end_entry()
    depth = substr($0, 3) + 0
    tag = ""; name = ""; file = -1; external = 0; declaration = 0
    if (match($0, /\(DW_TAG_[a-z_]+\)/)) tag = substr($0, RSTART + 8, RLENGTH - 9)
    next
}
/DW_AT_name/ { name = value($0); next }
/DW_AT_decl_file/ { n = split($0, w, " "); file = w[n] + 0; next }
/DW_AT_external/ { external = 1; next }
/DW_AT_declaration/ { declaration = 1; next }
END {
    end_object()
    if (units == 0) { print "names: no debug information to read (build with -g)"; exit 77 }
    if (unread) { print "names: " unread " names in files the line tables do not list (a DWARF this script cannot read?)"; exit 2 }
    for (q in count)
        if (count[q] > 1) { printf "%s is defined in more than one file:%s\n", q, places[q]; clashes++ }
    if (clashes) {
        print clashes " name(s) defined twice: give a file'"'"'s helpers an anonymous namespace, or one of them another name"
        exit 1
    }
    print "names: every namespace-scope name of " units " files has one home"
}'
