#pragma once
// The chunked project reader must tell, ask and leave what the whole-text reader did: a
// difference aborts, so libFuzzer keeps the input.
#include "project_reader_reference.h"
#include "util/atomic_file.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace fuzz {

using Read = std::function<meshforge::ReadOutcome(meshforge::Project&, meshforge::ProjectFileUi&)>;

// `reference` and `chunked` are given the path of a file holding the text, which they may read.
inline void CheckSameAsReference(const meshforge::Project& start, std::string_view text,
                                 const std::function<Read(const std::string&)>& reference,
                                 const std::function<Read(const std::string&)>& chunked) {
    // One file for the whole run, removed when the fuzzer ends.
    static const struct Scratch {
        std::string path = "/tmp/meshforge-fuzz-" + std::to_string(::getpid()) + ".3dp";
        ~Scratch() { std::remove(path.c_str()); }
    } scratch;
    const std::string& path = scratch.path;
    meshforge::WriteFileAtomically(path, text);
    meshforge::Project p = start;
    p.ProjectFileName = path;
    const std::string expected = meshforge::reference::Transcript(p, reference(path));
    const std::string got = meshforge::reference::Transcript(p, chunked(path));
    if (got != expected) {
        std::fprintf(stderr, "chunked read differs\nexpected:\n%s\ngot:\n%s\n", expected.c_str(),
                     got.c_str());
        std::abort();
    }
}

} // namespace fuzz
