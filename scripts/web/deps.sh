# The browser build's libraries from the pinned upstream tarballs, built with emcc into $prefix: GLU's
# utility part, freeglut's solid shapes and GoogleTest. Sourced by scripts/build-web, which redoes this
# only when a pin, Emscripten or this file changes.
# Needs: root, deps, prefix, jobs, quietly (scripts/lib/common.sh) and unpack_pinned (scripts/lib/pins.sh).
build_web_deps() {
    echo "build-web: building GLU, freeglut's shapes and GoogleTest with emcc"
    rm -rf "$deps/src" "$deps/work" "$prefix"
    mkdir -p "$deps/src" "$deps/work" "$prefix/include/GL" "$prefix/lib"
    glu_src=$deps/src/glu freeglut_src=$deps/src/freeglut
    unpack_pinned libglu "$glu_src"
    unpack_pinned freeglut "$freeglut_src"

    # GLU's utility part (projection, mipmaps, quadrics); the tessellator and NURBS are not used.
    for source in "$glu_src"/src/libutil/*.c; do
        quietly emcc -O2 -I"$glu_src/include" -I"$glu_src/src/include" -c "$source" \
            -o "$deps/work/glu-$(basename "$source" .c).o"
    done
    quietly emar rcs "$prefix/lib/libGLU.a" "$deps"/work/glu-*.o
    cp "$glu_src/include/GL/glu.h" "$prefix/include/GL/"

    # freeglut's shapes, built unchanged, drawing the OpenGL 1.0 way (freeglut-gl10.h says why). Its
    # internal header wants a host; the Android one brings the least (EGL types only), and none of
    # its code is compiled.
    shapes_flags=(-O2 -include "$root/cmake/emscripten/freeglut-gl10.h" -DTARGET_HOST_ANDROID=1 -DHAVE_STDBOOL_H=1
        -I"$freeglut_src/include" -I"$freeglut_src/src")
    quietly emcc "${shapes_flags[@]}" -c "$freeglut_src/src/fg_geometry.c" -o "$deps/work/fg_geometry.o"
    quietly emcc "${shapes_flags[@]}" -c "$root/cmake/freeglut-state.c" -o "$deps/work/freeglut-state.o"
    quietly emar rcs "$prefix/lib/libfreeglut-shapes.a" "$deps/work/fg_geometry.o" "$deps/work/freeglut-state.o"
    cp "$freeglut_src"/include/GL/freeglut*.h "$prefix/include/GL/"

    quietly emcmake cmake -S /usr/src/googletest -B "$deps/work/googletest" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF -Dgtest_disable_pthreads=ON
    quietly cmake --build "$deps/work/googletest" -j"$jobs"
    quietly cmake --install "$deps/work/googletest"

    rm -rf "$deps/work"
}
