#!/bin/sh
# Writes a Windows icon file whose images are the given PNG files, unchanged (Windows reads PNG
# images in icons since Vista):  make-ico.sh OUTPUT SIZE:FILE.png...
# A shell and printf are all it needs, so the cross build has no host program to compile.
set -eu
output=$1
shift

byte() { printf "\\$(printf '%03o' $(($1 & 255)))"; }
le16() { byte "$1"; byte $(($1 >> 8)); }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16)); }

{
    le16 0  # reserved
    le16 1  # an icon, not a cursor
    le16 $#
    offset=$((6 + 16 * $#))
    for image in "$@"; do
        size=${image%%:*}
        length=$(wc -c <"${image#*:}")
        byte "$size"  # width; 256 would be written as 0
        byte "$size"  # height
        byte 0        # no palette
        byte 0        # reserved
        le16 1        # colour planes
        le16 32       # bits per pixel
        le32 "$length"
        le32 "$offset"
        offset=$((offset + length))
    done
    for image in "$@"; do
        cat "${image#*:}"
    done
} >"$output"
