# Each program's version, written here and nowhere else. The version blocks of the resource
# scripts, the manifests, the window captions ("Kestrun v.1.3": the first two numbers), the
# checks of scripts/peres.py and the name of the release zip all read these two lines.
set(KESTRUN_VERSION 1.3.0.0)
set(TERNAVO_VERSION 1.5.0.0)
