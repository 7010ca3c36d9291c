#!/usr/bin/env bash
# `kovra` against hostile input and a failing disk: every case must end with
# the old files intact, a message, exit status 1, and no hang.
#   hostile.sh GROUP KOVRA SOURCE_DIR WORK_DIR
# GROUP: same-file | special-files | full-disk | stdout | links-and-modes | strip-memory
set -u
group=$1 kovra=$2 src=$3 work=$4/$1
rm -rf "$work" && mkdir -p "$work/tmp" && cd "$work" || exit 1
export TMPDIR=$work/tmp XDG_CONFIG_HOME=$work/config HOME=$work QT_QPA_PLATFORM=offscreen

sample=$src/tests/cli/cases/two-listings.txt
fom=$src/data/KvReport.FOM
templ=$src/data/KvTemplate.html
fieldlist=$src/data/FieldList
failures=0

fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# expect STATUS CMD...: runs CMD within 20 s; stdout and stderr land in out, err.
expect() {
  local want=$1; shift
  timeout 20 "$@" >out 2>err; local rc=$?
  [ "$rc" = "$want" ] || fail "exit $rc, expected $want: $* :: $(head -c 300 err)"
}
said() { grep -qF -- "$1" err || fail "no message '$1' in: $(head -c 300 err)"; }
same() { cmp -s "$1" "$2" || fail "$1 changed"; }
no_temp_files() {
  local left
  left=$(find "$work" -name '.kovra-*' -o -name 'kovra-report-*' | head -n 3)
  [ -z "$left" ] || fail "temporary files left: $left"
}

case $group in
same-file)
  # The output is the input: by its own name, another spelling, a link, a hard link.
  cp "$sample" in.txt && cp in.txt keep.txt
  ln -s in.txt link.txt && ln in.txt hard.txt && mkdir sub
  for out in in.txt ./in.txt sub/../in.txt "$work/in.txt" link.txt hard.txt; do
    expect 1 "$kovra" strip in.txt "$out"; said "は入力ファイルと同じファイルです"
    expect 1 "$kovra" report in.txt "$out" --all; said "は入力ファイルと同じファイルです"
    expect 1 "$kovra" report in.txt --pdf "$out"; said "は入力ファイルと同じファイルです"
    expect 1 "$kovra" compare in.txt K-100 K-101 --csv "$out"; said "は入力ファイルと同じファイルです"
    expect 1 "$kovra" compare in.txt K-100 K-101 --pdf "$out"; said "は入力ファイルと同じファイルです"
    expect 1 "$kovra" export in.txt --csv "$out"; said "は入力ファイルと同じファイルです"
    expect 1 "$kovra" export in.txt --xlsx "$out"; said "は入力ファイルと同じファイルです"
    same in.txt keep.txt
  done
  "$kovra" report in.txt data.dat --all >/dev/null 2>&1 && cp data.dat data.keep
  cp "$fom" form.fom && cp form.fom form.keep
  expect 1 "$kovra" render form.fom data.dat --pdf data.dat; same data.dat data.keep
  expect 1 "$kovra" render form.fom data.dat --pdf ./form.fom; same form.fom form.keep
  # An image the form draws, and a page of the PNG folder that is the form.
  printf 'I0;0;100;100;form.keep;\r\n' >>form.fom && cp form.fom form.keep
  cp form.keep form2.keep
  expect 1 "$kovra" render form.fom data.dat --pdf form.keep; same form.keep form2.keep
  mkdir png && ln form.fom png/page-1.png
  expect 1 "$kovra" render form.fom data.dat --png png; same form.fom form2.keep
  # HTML pages over the template (with --yes) or FieldList: refused before any page.
  mkdir pages && cp "$templ" pages/K-100.html && cp "$fieldlist" FieldList && cp "$templ" templ.keep
  ln FieldList pages/K-101.html
  expect 1 "$kovra" html in.txt --template pages/./K-100.html --out pages --fieldlist "$fieldlist" --yes
  said "は入力ファイルと同じファイルです"; same pages/K-100.html templ.keep
  expect 1 "$kovra" html in.txt --template "$templ" --out pages --fieldlist FieldList --yes
  said "は入力ファイルと同じファイルです"; same FieldList "$fieldlist"
  [ "$(ls pages | wc -l)" = 2 ] || fail "pages written: $(ls pages)"
  [ -L link.txt ] || fail "link.txt is no longer a link"
  no_temp_files
  ;;

special-files)
  # Only regular files are read: a FIFO, devices, a folder are refused at once.
  mkfifo fifo && mkdir folder
  "$kovra" report "$sample" data.dat --all >/dev/null 2>&1
  for bad in fifo /dev/zero /dev/urandom folder; do
    for cmd in dump info summary; do
      expect 1 "$kovra" $cmd "$bad"; said "は開けません"
    done
    expect 1 "$kovra" strip "$bad" out.kvd; said "は開けません"
    [ ! -e out.kvd ] || fail "strip $bad wrote out.kvd"
    expect 1 "$kovra" report "$bad" out.dat; said "は開けません"
    expect 1 "$kovra" html "$bad" --template "$templ" --out folder --fieldlist "$fieldlist"
    expect 1 "$kovra" html "$sample" --template "$bad" --out folder --fieldlist "$fieldlist"; said "を読み込めません"
    expect 1 "$kovra" html "$sample" --template "$templ" --out folder --fieldlist "$bad"; said "を読み込めません"
    # The print engine calls a folder missing, as it always has.
    engine="は開けません"; [ "$bad" = folder ] && engine="が見つかりません"
    expect 1 "$kovra" pages "$bad" data.dat; said "$engine"
    expect 1 "$kovra" pages "$fom" "$bad"; said "$engine"
    expect 1 "$kovra" render "$fom" "$bad" --pdf out.pdf; said "$engine"
    expect 1 "$kovra" render "$bad" data.dat --png png; said "$engine"
  done
  [ -z "$(ls folder)" ] || fail "pages written into folder"
  # Outputs that are no regular file are never replaced.
  expect 1 "$kovra" strip "$sample" fifo
  expect 1 "$kovra" render "$fom" data.dat --pdf fifo
  [ -p fifo ] || fail "the FIFO was replaced"
  no_temp_files
  ;;

full-disk)
  # A file-size limit stands for a full disk: writes past 16 KB fail.
  for i in $(seq 200); do cat "$sample"; done >big.txt
  "$kovra" report "$sample" data.dat --all >/dev/null 2>&1
  mkdir pages png
  echo old >old.ref
  for f in old.kvd old.dat old.pdf render.pdf pages/21000100.html png/page-1.png; do cp old.ref "$f"; done
  full() { timeout 20 bash -c 'trap "" XFSZ; ulimit -f 16; exec "$@"' _ "$@" >out 2>err; echo $?; }
  [ "$(full "$kovra" strip big.txt old.kvd)" = 1 ] || fail "strip on a full disk"
  [ "$(full "$kovra" report big.txt old.dat --all)" = 1 ] || fail "report on a full disk"
  [ "$(full "$kovra" report "$sample" --pdf old.pdf)" = 1 ] || fail "report --pdf on a full disk"
  [ "$(full "$kovra" render "$fom" data.dat --pdf render.pdf)" = 1 ] || fail "render --pdf on a full disk"
  [ "$(full "$kovra" render "$fom" data.dat --png png)" = 1 ] || fail "render --png on a full disk"
  for i in $(seq 50); do cat "$templ"; done >big.html
  [ "$(full "$kovra" html "$sample" --template big.html --out pages --fieldlist "$fieldlist" --yes)" = 1 ] \
    || fail "html on a full disk"
  for f in old.kvd old.dat old.pdf render.pdf pages/21000100.html png/page-1.png; do
    cmp -s "$f" old.ref || fail "$f lost its old content"
  done
  [ "$(ls png)" = page-1.png ] || fail "half-written pages in png: $(ls png)"
  no_temp_files
  ;;

stdout)
  # Output that cannot be written is a failure: flush and close are checked.
  "$kovra" report "$sample" data.dat --all >/dev/null 2>&1
  mkdir pages
  for args in "dump $sample" "info $sample" "summary $sample" "pages $fom data.dat" "--help" \
              "render $fom data.dat --pdf out.pdf" "report $sample --pdf out2.pdf" \
              "html $sample --template $templ --out pages --fieldlist $fieldlist --yes"; do
    timeout 20 "$kovra" $args >/dev/full 2>err; rc=$?
    [ "$rc" = 1 ] || fail "exit $rc, expected 1: kovra $args >/dev/full"
    said "標準出力に書き込めません"
  done
  ;;

links-and-modes)
  # Replacing a file keeps its permission bits and writes through a link.
  mkdir real && echo old >old.ref
  for f in a.kvd b.dat c.pdf d.pdf; do echo old >"real/$f"; chmod 600 "real/$f"; ln -s "real/$f" "$f"; done
  mkdir png && echo old >real/page-1.png && chmod 640 real/page-1.png && ln -s ../real/page-1.png png/page-1.png
  "$kovra" strip "$sample" a.kvd || fail "strip through a link"
  "$kovra" report "$sample" b.dat --all || fail "report through a link"
  "$kovra" report "$sample" --pdf c.pdf >/dev/null || fail "report --pdf through a link"
  "$kovra" render "$fom" b.dat --pdf d.pdf >/dev/null || fail "render --pdf through a link"
  "$kovra" render "$fom" b.dat --png png >/dev/null || fail "render --png through a link"
  for f in a.kvd b.dat c.pdf d.pdf png/page-1.png; do
    [ -L "$f" ] || fail "$f is no longer a link"
    cmp -s "$f" old.ref && fail "$f was not written"
  done
  for f in a.kvd b.dat c.pdf d.pdf; do
    [ "$(stat -c %a "real/$f")" = 600 ] || fail "real/$f lost its mode: $(stat -c %a "real/$f")"
  done
  [ "$(stat -c %a real/page-1.png)" = 640 ] || fail "page-1.png lost its mode"
  no_temp_files
  ;;

strip-memory)
  # A 64 MB line of commas: peak memory at most 3x the file + 64 MiB.
  { printf 1; head -c $((64 * 1024 * 1024 - 1)) /dev/zero | tr '\0' ','; } >commas.txt
  /usr/bin/time -f %M -o rss "$kovra" strip commas.txt out.kvd || fail "strip of a comma line"
  peak_kb=$(tail -n 1 rss)
  [ "$peak_kb" -le $(((3 * 64 + 64) * 1024)) ] || fail "peak memory ${peak_kb} KB"
  echo "strip of a 64 MB comma line: peak ${peak_kb} KB"
  [ "$(head -c 3 out.kvd)" = "1,," ] || fail "out.kvd is not the stripped line"
  rm -f commas.txt out.kvd
  ;;

*) echo "unknown group $group" >&2; exit 2 ;;
esac

[ "$failures" = 0 ] || { echo "$failures failure(s)" >&2; exit 1; }
echo "ok: $group"
