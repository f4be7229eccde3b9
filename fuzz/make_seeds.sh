#!/bin/sh
# Writes the long-input seeds of the fuzz targets into <dir>/<target>/: one long line, a cell
# of many names, a text of NULs and control bytes, a flowchart with one long cell. They are
# made here, not kept in the tree; each stays under the targets' -max_len.
# Usage: fuzz/make_seeds.sh <dir>
set -eu
out=${1:?seed dir}

# rep UNIT COUNT: UNIT written COUNT times, with %d standing for the running number.
rep() {
  i=0
  while [ "$i" -lt "$2" ]; do
    # shellcheck disable=SC2059
    printf "$1" "$i"
    i=$((i + 1))
  done
}

# seed TARGET NAME: the seed file of a target, its folder made.
seed() {
  mkdir -p "$out/$1"
  echo "$out/$1/$2"
}

# РВАС and СКУ of one long line, correct and faulty (two operation signs, a bad signal).
{ printf '\002sw(y1)=s0*'; rep 'x%d*' 8000; printf 'x1'; } >"$(seed fuzz_tiravo_translate rvas_long)"
{ printf '\002sw(y1)=s0*'; rep 'x%d*' 8000; printf '*x1'; } >"$(seed fuzz_tiravo_translate rvas_long_faulty)"
{ printf '\001sku:\ns1=s0*'; rep 'x%d*' 8000; printf 'Z1\nsvf:\ny1=s1\n'; } >"$(seed fuzz_tiravo_translate sku_long_faulty)"
for t in fuzz_translate_check fuzz_translate_convert; do
  { printf 'sw=s0*'; rep 'x%d*' 8000; printf 'x1;\n'; } >"$(seed $t rvas_long)"
  { printf 'sw=s0*'; rep 'x%d*' 8000; printf '*x1;\n'; } >"$(seed $t rvas_long_faulty)"
  { printf 'sku:\ns1=s0*'; rep 'x%d*' 8000; printf 'x1;\nsvf:\ny1=s1;\n'; } >"$(seed $t sku_long)"
done

# A table row whose condition joins many names, and the same with a repeated name.
{ printf '\002s0\ny1\n'; rep 'x%d&' 6000; printf 'x1\ns1\n'; } >"$(seed fuzz_tiravo_compile wide_cell)"
{ printf '\002s0\ny1\n'; rep 'x%d&' 6000; printf 'X7\ns1\n'; } >"$(seed fuzz_tiravo_compile wide_cell_repeated)"
{ printf '\004s0\ny1\n'; rep 'x%d&' 6000; printf 'X7\ns1\n'; } >"$(seed fuzz_fsm_compiler wide_cell)"
for t in fuzz_tblfile fuzz_tablegrid_model; do
  { printf 'Binary\r\ns0\r\ny1\r\n'; rep 'x%d&' 6000; printf 'x1\r\ns1\r\n'; } >"$(seed $t wide_cell)"
done

# Texts of one long line, of NULs and of control bytes.
for t in fuzz_text_plain fuzz_tiravo_editor fuzz_line_reader; do
  { rep 'x%d*' 9000; printf '\r\n'; } >"$(seed $t long_line)"
  head -c 60000 /dev/zero >"$(seed $t nuls)"
  { rep '\001\002\003\033\177\t%d\r' 3000; printf '\n\000\n'; } >"$(seed $t controls)"
done

# A flowchart whose one operator cell holds a long text (the seed current.gsa, that cell grown).
for t in fuzz_gsa_read fuzz_gsa_convert; do
  {
    printf 'GSA1.1\r\nUSER\r\nTRACK\r\nMOVE\r\ny0\r\nyk\r\ns0\r\nsk\r\ns\r\ny\r\n5\r\n3\r\n'
    printf '0,1\r\ny0\r\n3\r\n1,1\r\n\r\n11\r\n2,1\r\ns1('
    rep 'y%d,' 9000
    printf 'y1)\r\n1\r\n4,1\r\n\r\n4\r\nEnd\r\n'
  } >"$(seed $t long_cell)"
done
