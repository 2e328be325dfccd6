#!/usr/bin/env bash
# Converts 120 generated 1920x1080 JPEGs into a 640x480 AVI with vntrl (uncompressed and
# Motion JPEG) and with ffmpeg doing the same job, and prints wall time and peak memory.
#   bench/avi/avi_vs_ffmpeg.sh [path to vntrl] [picture count]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
tool=$(realpath "${1:-$root/build/src/frontend/vntrl}")
count=${2:-120}
for need in ffmpeg bc /usr/bin/time; do
  command -v "$need" > /dev/null || { echo "needs $need (Debian packages ffmpeg, bc, time)"; exit 1; }
done
work=$(mktemp -d /tmp/vntrl-avi-bench-XXXXXX)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/pics"
ffmpeg -v error -f lavfi -i "testsrc2=size=1920x1080:rate=25" -frames:v "$count" -q:v 3 "$work/pics/img%04d.jpg"

# Runs a command and prints "seconds peak-KiB".
measure() {
  local start end
  start=$(date +%s.%N)
  /usr/bin/time -f "%M" -o "$work/mem" "$@" > /dev/null 2>&1
  end=$(date +%s.%N)
  echo "$(echo "$end - $start" | bc) $(cat "$work/mem")"
}

cd "$work"
read -r our_dib our_dib_mem < <(measure "$tool" /p pics ours_dib.avi -sf -w 640 -h 480 -ar -fps 25 -hcd DIB -hew)
read -r peer_dib peer_dib_mem < <(measure ffmpeg -v error -y -framerate 25 -i pics/img%04d.jpg \
  -vf scale=640:480:flags=bilinear -c:v rawvideo -pix_fmt bgr24 peer_dib.avi)
read -r our_mjpg our_mjpg_mem < <(measure "$tool" /p pics ours_mjpg.avi -sf -w 640 -h 480 -ar -fps 25 -hcd MJPG -hew)
read -r peer_mjpg peer_mjpg_mem < <(measure ffmpeg -v error -y -framerate 25 -i pics/img%04d.jpg \
  -vf scale=640:480:flags=bilinear -c:v mjpeg peer_mjpg.avi)

printf '%-6s %10s %10s %8s %14s %14s\n' codec "vntrl s" "ffmpeg s" ratio "vntrl KiB" "ffmpeg KiB"
printf '%-6s %10.2f %10.2f %8.2f %14s %14s\n' DIB "$our_dib" "$peer_dib" "$(echo "$our_dib / $peer_dib" | bc -l)" \
  "$our_dib_mem" "$peer_dib_mem"
printf '%-6s %10.2f %10.2f %8.2f %14s %14s\n' MJPG "$our_mjpg" "$peer_mjpg" "$(echo "$our_mjpg / $peer_mjpg" | bc -l)" \
  "$our_mjpg_mem" "$peer_mjpg_mem"
