// The yardstick every render benchmark is compared with: libnoise's Perlin module
// summing 8 octaves over a 2048 x 2048 grid, its rows shared between threads.
#pragma once

namespace morvessan::bench {

// Seconds per grid point of the peer on `threads` threads, measured once per
// count in this run; 0 when the program was built without libnoise.
double peerSecondsPerPoint(int threads);

// Sets state.counters["xPeer"] = peer time per point / `secondsPerPoint` when there is a peer.
template <typename State>
void reportAgainstPeer(State& state, int threads, double secondsPerPoint) {
    const double peer = peerSecondsPerPoint(threads);
    if (peer > 0.0 && secondsPerPoint > 0.0) {
        state.counters["xPeer"] = peer / secondsPerPoint;
    }
}

} // namespace morvessan::bench
