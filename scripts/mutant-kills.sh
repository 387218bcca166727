#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Which tests kill which mutant. Give this script as the mutation tool's test
# command, in the clone it mutates (configured in build/):
#   python3 mutants.py --build "cmake --build build -j2" --test scripts/mutant-kills.sh ...
# Each run keeps the mutated lines and the names of the tests that failed in
# $GLYPHMOOR_KILLS (default: build/mutant-kills), then exits as ctest did.
# Afterwards `scripts/mutant-kills.sh --report` lists, for each test, the
# mutants it alone kills, and the tests that kill none alone: what a test is
# worth before it is cut or merged.
set -uo pipefail
cd "$(dirname "$0")/.."
kills=${GLYPHMOOR_KILLS:-$PWD/build/mutant-kills}
if [[ ${1:-} == --report ]]; then
  exec python3 - "$kills" <<'EOF'
import collections, os, re, sys
kills, alone, any_ = sys.argv[1], collections.defaultdict(list), collections.Counter()
for name in sorted(f for f in os.listdir(kills) if f.endswith(".failed")):
    mutant = open(os.path.join(kills, name[:-7] + ".diff")).readline().strip()
    # A case of a parameterised test is the test; durable_saves reruns the file tests.
    tests = {re.sub(r"/\w+$|^\w+/", "", line.split(":", 1)[1].strip())
             for line in open(os.path.join(kills, name)) if ":" in line} - {"durable_saves"}
    any_.update(tests)
    if len(tests) == 1:
        alone[tests.pop()].append(mutant)
for test in sorted(any_, key=lambda t: (-len(alone[t]), t)):
    print("%3d alone, %3d in all  %s" % (len(alone[test]), any_[test], test))
    for mutant in alone[test]:
        print("        " + mutant[:100])
EOF
fi
mkdir -p "$kills"
run=$kills/$(printf %04d $(($(ls "$kills" | wc -l) / 2)))
git diff -U0 -- src | grep '^[-+][^-+]' >"$run.diff"
rm -f build/Testing/Temporary/LastTestsFailed.log
setsid -w ctest --test-dir build -E '^e2e_' -j2 --timeout 120 >/dev/null 2>&1
status=$?
cp build/Testing/Temporary/LastTestsFailed.log "$run.failed" 2>/dev/null || : >"$run.failed"
exit $status
