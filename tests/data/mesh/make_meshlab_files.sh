#!/usr/bin/env bash
# Writes the MeshLab-made test meshes beside this script from strip.off: a quad and a
# triangle on five vertices, which MeshLab stores as three triangles. Needs meshlab and xvfb.
# The results are committed; run again only to renew them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
for ext in ply stl obj dae; do
    xvfb-run -a meshlabserver -i "$here/strip.off" -o "$here/meshlab_strip.$ext" >/dev/null 2>&1
done
