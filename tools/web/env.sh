# Sourced by the web scripts: what Debian's emscripten 3.1.6 needs under this
# machine's node. Its optimizer (emcc -O2 and above) loads Debian's acorn from
# /usr/share/nodejs. Node 18 and later have a global fetch, which the 3.1.6
# loader then takes to read the .wasm by its file path and fails; without it
# the loader reads the file, in configure's test programs and the tests alike.
# EM_CACHE stays where Debian put it: its system libraries are prebuilt there.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
case " ${NODE_OPTIONS:-} " in
  *" --no-experimental-fetch "*) ;;
  *) export NODE_OPTIONS="--no-experimental-fetch${NODE_OPTIONS:+ $NODE_OPTIONS}" ;;
esac
