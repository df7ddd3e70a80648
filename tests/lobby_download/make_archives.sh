#!/bin/bash
# Makes the archives the download tests serve, with the zip tool, in $1:
#   src/          the files packed (the tests compare what was unpacked with them)
#   package.zip   folders, an empty folder, GBK file names, a deflated text, a stored binary
#   corrupt.zip   one stored file whose data no longer matches its checksum
#   evil.zip      an entry "../readme.txt" that climbs out of the folder, and a plain one
set -euo pipefail
out=$1
rm -rf "$out"
mkdir -p "$out/src"
cd "$out/src"
gbk_folder=$(printf '\xcd\xbc\xc6\xac')    # 图片
gbk_file=$(printf '\xc5\xc6\xc3\xe6.txt')  # 牌面.txt
mkdir -p fenlo/image "fenlo/$gbk_folder" fenlo/empty
printf '[SYSTEM]\r\nsendtype=0\r\nversion=1.0.0.1\r\n' > fenlo/config.ini
for i in $(seq 1 400); do printf 'line %d of the deflated text\r\n' "$i"; done > readme.txt
printf '%s' "$gbk_file" > "fenlo/$gbk_folder/$gbk_file"
# 40000 bytes that do not compress: stored, several HTTP reads long
head -c 40000 /dev/urandom > fenlo/image/cards.bin
LC_ALL=C zip -q -r -X ../package.zip readme.txt fenlo
LC_ALL=C zip -q -X -0 ../corrupt.zip fenlo/image/cards.bin
printf '\xff\x00\xff\x00' | dd of=../corrupt.zip bs=1 seek=20000 conv=notrunc status=none
cd fenlo
LC_ALL=C zip -q -X ../../evil.zip ../readme.txt config.ini
