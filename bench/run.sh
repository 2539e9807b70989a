#!/usr/bin/env bash
# Builds the benchmarks with optimisation and prints their figures.
#   bench/run.sh               presentation, kiosk and startup
#   bench/run.sh presentation  load and save of a 10 000-page presentation
#   bench/run.sh kiosk         the kiosk under Xvfb (about two minutes)
#   bench/run.sh startup       start-up and memory beside Chromium (apt-get install chromium)
#   bench/run.sh soak          memory over SOAK_CHANGES page changes (default 2000, over
#                              half an hour); not part of "all"
#   bench/run.sh popup         memory of pages opening windows every 50 ms (four forms of
#                              window.open), side by side with the same page without, for
#                              POPUP_SECONDS (default 600)
#   bench/run.sh visitor       memory after VISITOR_ROUNDS visitors (default 50) beside 5
#   bench/run.sh refresh       bytes and CPU of refreshing a published presentation of 1 000
#                              pages: unchanged (304) and changed
#   bench/run.sh mqtt          memory with MQTT off and on, connected to a local mosquitto
#                              (apt-get install mosquitto mosquitto-clients); about three minutes
#   bench/run.sh change        page changes frame by frame, from the X server's damage: latency
#                              and foreign frames over CHANGE_COUNT changes (default 200)
#   bench/run.sh dark          CPU and private memory with the screen dark (ScreenOff) beside
#                              playing, and a control run that plays throughout; about six minutes
#   bench/run.sh lowmem        the kiosk in a 1 GiB memory control group over LOWMEM_CHANGES
#                              changes of heavy pages (default 500): peak and OOM kills; as root
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DPAGELARK_TESTS=ON >/dev/null
run() {
    cmake --build build-bench -j2 --target "$1" pagelark >/dev/null
    "build-bench/bench/$1"
}
if [ "$what" = all ] || [ "$what" = presentation ]; then
    cmake --build build-bench -j2 --target presentation_bench >/dev/null
    build-bench/bench/presentation_bench
fi
if [ "$what" = all ] || [ "$what" = kiosk ]; then run kiosk_bench; fi
if [ "$what" = all ] || [ "$what" = startup ]; then run startup_bench; fi
if [ "$what" = soak ]; then run soak_bench; fi
if [ "$what" = popup ]; then run popup_bench; fi
if [ "$what" = visitor ]; then run visitor_bench; fi
if [ "$what" = refresh ]; then run refresh_bench; fi
if [ "$what" = mqtt ]; then run mqtt_bench; fi
if [ "$what" = change ]; then run page_change_bench; fi
if [ "$what" = lowmem ]; then run lowmem_bench; fi
if [ "$what" = dark ]; then run dark_bench; fi
