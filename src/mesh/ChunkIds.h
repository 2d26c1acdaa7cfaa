// The 3DS chunk ids the loader enters or reads, shared with our 3DS writer.
#pragma once

#include <cstdint>

namespace korvath::chunkId {

constexpr std::uint16_t main = 0x4D4D;
constexpr std::uint16_t editor = 0x3D3D;
constexpr std::uint16_t object = 0x4000;
constexpr std::uint16_t triangleMesh = 0x4100;
constexpr std::uint16_t vertexList = 0x4110;
constexpr std::uint16_t faceList = 0x4120;
constexpr std::uint16_t mapping = 0x4140;

} // namespace korvath::chunkId
