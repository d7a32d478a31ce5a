#include "viewer/night_shaders.h"

namespace orvane::night_shaders {

const char* const kFullScreenVertex = R"(#version 330 core
out vec2 vUv;
void main() {
  vec2 corner = vec2(float((gl_VertexID << 1) & 2), float(gl_VertexID & 2));
  vUv = corner;
  gl_Position = vec4(corner * 2.0 - 1.0, 0.0, 1.0);
}
)";

// Linear light in the tone map's scene units: 0.18 is a mid grey, about 16 is white.
const char* const kEnvironmentFragment = R"(#version 330 core
in vec2 vUv;
out vec4 oColour;
uniform vec3 uEye;
uniform vec3 uRight;
uniform vec3 uUp;
uniform vec3 uForward;
uniform vec2 uTanHalf;
uniform float uPixelAngle;
uniform sampler2D uHorizon;
uniform float uHorizonDistance;
uniform int uWater;
uniform float uSeconds;
uniform sampler2D uReflection;
uniform float uReflectionOn;
uniform int uLightCount;
uniform vec3 uLightPosition[4];
uniform vec3 uLightPower[4];
uniform float uHaze;
uniform float uGroundLight;

const float kPi = 3.14159265;
const vec3 kZenith = vec3(0.0022, 0.0030, 0.0066);
const vec3 kHorizonSky = vec3(0.0062, 0.0072, 0.0112);
const vec3 kSilhouette = vec3(0.0011, 0.0012, 0.0016);
const vec3 kGrass = vec3(0.060, 0.080, 0.042);
const vec3 kWaterBody = vec3(0.010, 0.016, 0.020);
// What the night sky alone gives the ground.
const float kSkyIrradiance = 0.16;

float Hash(ivec2 cell) {
  uint h = uint(cell.x) * 0x8da6b343u ^ uint(cell.y) * 0xd8163841u;
  h = (h ^ (h >> 16)) * 0x7feb352du;
  h = (h ^ (h >> 15)) * 0x846ca68bu;
  h ^= h >> 16;
  return float(h & 0xffffffu) / 16777216.0;
}

float Noise(vec2 p) {
  ivec2 i = ivec2(floor(p));
  vec2 f = fract(p);
  f = f * f * (3.0 - 2.0 * f);
  float a = mix(Hash(i), Hash(i + ivec2(1, 0)), f.x);
  float b = mix(Hash(i + ivec2(0, 1)), Hash(i + ivec2(1, 1)), f.x);
  return mix(a, b, f.y);
}

// Detail of `size` metres fades to its mean where a pixel covers more than it.
float Detail(vec2 p, float size, float footprint) {
  float keep = clamp(1.5 - footprint / size, 0.0, 1.0);
  return mix(0.5, Noise(p / size), keep);
}

vec3 Sky(vec3 d) {
  float up = max(d.y, 0.0);
  return mix(kHorizonSky, kZenith, sqrt(up));
}

// The clusters' light scattered by air and smoke along the ray.
vec3 BurstGlow(vec3 d) {
  vec3 glow = vec3(0.0);
  for (int i = 0; i < uLightCount; ++i) {
    vec3 to = uLightPosition[i] - uEye;
    float dist2 = max(dot(to, to), 1.0);
    float c = dot(d, to * inversesqrt(dist2));
    float lobe = 0.03 + 0.5 * exp((c - 1.0) * 30.0) + 0.12 * exp((c - 1.0) * 4.0);
    glow += uLightPower[i] * (uHaze * lobe / dist2);
  }
  return glow;
}

vec3 Irradiance(vec3 p) {
  vec3 e = vec3(kSkyIrradiance);
  for (int i = 0; i < uLightCount; ++i) {
    vec3 to = uLightPosition[i] - p;
    float dist2 = max(dot(to, to), 1.0);
    float cosine = max(to.y, 0.0) * inversesqrt(dist2);
    e += uLightPower[i] * (uGroundLight * cosine / dist2);
  }
  return e;
}

vec3 Field(vec3 p, float footprint) {
  float patches = Detail(p.xz, 9.0, footprint);
  float tufts = Detail(p.xz + 17.0, 1.3, footprint);
  vec3 albedo = kGrass * (0.55 + 0.9 * patches) * (0.8 + 0.4 * tufts);
  return albedo * Irradiance(p) / kPi;
}

// Wave trains as (direction x, direction z, wavelength in metres); the short ones fade with
// distance before they shimmer.
const vec3 kWaves[5] = vec3[5](vec3(0.96, 0.28, 9.0), vec3(-0.55, 0.83, 5.3), vec3(0.31, -0.95, 3.1),
                               vec3(-0.88, -0.47, 1.9), vec3(0.7, 0.71, 1.1));

vec2 RippleSlope(vec2 p, float footprint) {
  vec2 slope = vec2(0.0);
  for (int k = 0; k < 5; ++k) {
    vec2 dir = kWaves[k].xy;
    float wavelength = kWaves[k].z;
    float number = 2.0 * kPi / wavelength;
    float keep = exp(-pow(2.0 * footprint / wavelength, 2.0));
    float phase = dot(dir, p) * number + uSeconds * sqrt(9.81 * number);
    slope += dir * (0.06 * cos(phase) * keep);
  }
  return slope;
}

vec3 Water(vec3 d, vec3 p, float footprint) {
  vec2 slope = RippleSlope(p.xz, footprint);
  vec3 n = normalize(vec3(-slope.x, 1.0, -slope.y));
  vec3 r = reflect(d, n);
  r.y = abs(r.y);
  float cosine = clamp(-dot(d, n), 0.0, 1.0);
  float fresnel = 0.02 + 0.98 * pow(1.0 - cosine, 5.0);
  vec3 c = (Sky(r) + BurstGlow(r)) * fresnel + kWaterBody * Irradiance(p) * ((1.0 - fresnel) / kPi);
  if (uReflectionOn > 0.5) {
    // Ripples shift the mirrored bursts, more up and down than across, and smear them into columns.
    vec2 shift = vec2(slope.x * 0.05, slope.y * 0.16);
    vec3 mirrored = vec3(0.0);
    for (int k = -2; k <= 2; ++k) mirrored += texture(uReflection, vUv + shift + vec2(0.0, float(k) * 0.005)).rgb;
    c += mirrored * (fresnel * 0.2);
  }
  return c;
}

void main() {
  vec2 ndc = vUv * 2.0 - 1.0;
  vec3 d = normalize(uForward + ndc.x * uTanHalf.x * uRight + ndc.y * uTanHalf.y * uUp);
  float across = max(length(d.xz), 1e-6);
  float azimuth = atan(d.x, -d.z) / (2.0 * kPi);
  float ridge = texture(uHorizon, vec2(fract(azimuth), 0.5)).r;
  float ridgeSlope = (ridge - uEye.y) / uHorizonDistance;
  float toGround = d.y < 0.0 ? uEye.y / -d.y : 1e30;
  vec3 colour;
  if (d.y < 0.0 && toGround * across < uHorizonDistance) {
    vec3 p = uEye + d * toGround;
    float footprint = toGround * uPixelAngle / max(-d.y, 0.01);
    colour = uWater == 1 ? Water(d, p, footprint) : Field(p, footprint);
    float fog = 1.0 - exp(-toGround * across / 1200.0);
    colour = mix(colour, kHorizonSky, fog * 0.7);
  } else if (d.y < ridgeSlope * across) {
    colour = mix(kSilhouette, kHorizonSky, 0.25);
  } else {
    colour = Sky(d);
  }
  colour += BurstGlow(d);
  oColour = vec4(colour, 1.0);
}
)";

const char* const kSkyStarsVertex = R"(#version 330 core
layout(location = 0) in vec3 aDirection;
layout(location = 1) in vec3 aLight;
uniform mat4 uRotation;
uniform vec3 uEye;
uniform sampler2D uHorizon;
uniform float uHorizonDistance;
out vec3 vLight;
void main() {
  vec4 clip = uRotation * vec4(aDirection, 0.0);
  float across = max(length(aDirection.xz), 1e-6);
  float azimuth = atan(aDirection.x, -aDirection.z) / 6.2831853;
  float ridge = textureLod(uHorizon, vec2(fract(azimuth), 0.5), 0.0).r;
  float above = aDirection.y / across - (ridge - uEye.y) / uHorizonDistance;
  // Dimmed near the horizon, where their light crosses more air.
  vLight = aLight * smoothstep(0.0, 0.15, above);
  if (clip.w <= 0.0 || above <= 0.0) {
    vLight = vec3(0.0);
    clip = vec4(2.0, 2.0, 0.0, 1.0);
  }
  gl_Position = vec4(clip.xy, 0.0, clip.w);
}
)";

const char* const kSkyStarsFragment = R"(#version 330 core
in vec3 vLight;
out vec4 oColour;
void main() { oColour = vec4(vLight, 0.0); }
)";

// The capsule's corners around the sprite's two ends; its light comes ready from the CPU.
const char* const kStarsVertex = R"(#version 330 core
layout(location = 0) in vec4 aEnds;
layout(location = 1) in vec4 aRadiusLight;
uniform vec2 uViewport;
flat out vec2 vTail;
flat out vec2 vHead;
flat out float vInvRadius2;
flat out vec3 vColour;
void main() {
  vec2 h = aEnds.xy;
  vec2 t = aEnds.zw;
  float r = aRadiusLight.x;
  vec2 along = h - t;
  float len = length(along);
  vec2 axis = len > 1e-4 ? along / len : vec2(1.0, 0.0);
  vec2 side = vec2(-axis.y, axis.x);
  vec2 corner = vec2(float(gl_VertexID & 1), float(gl_VertexID >> 1)) * 2.0 - 1.0;
  vec2 p = 0.5 * (h + t) + axis * (corner.x * (0.5 * len + r)) + side * (corner.y * r);
  gl_Position = vec4(p / uViewport * 2.0 - 1.0, 0.0, 1.0);
  vTail = t;
  vHead = h;
  vInvRadius2 = 1.0 / (r * r);
  vColour = aRadiusLight.yzw;
}
)";

const char* const kStarsFragment = R"(#version 330 core
flat in vec2 vTail;
flat in vec2 vHead;
flat in float vInvRadius2;
flat in vec3 vColour;
out vec4 oColour;
void main() {
  vec2 p = gl_FragCoord.xy;
  vec2 ab = vHead - vTail;
  float len2 = dot(ab, ab);
  float t = len2 > 0.0 ? clamp(dot(p - vTail, ab) / len2, 0.0, 1.0) : 0.0;
  vec2 q = p - (vTail + t * ab);
  float d2 = dot(q, q) * vInvRadius2;
  if (d2 >= 1.0) discard;
  oColour = vec4(vColour * exp(-4.5 * d2), 0.0);
}
)";

// Summed light is read through Safe: a GPU's half floats overflow to infinity where the
// software rasterizer saturates.
const char* const kDownsampleFragment = R"(#version 330 core
in vec2 vUv;
out vec4 oColour;
uniform sampler2D uSource;
uniform vec2 uSourceTexel;
vec3 Safe(vec3 c) { return mix(clamp(c, vec3(0.0), vec3(65504.0)), vec3(0.0), isnan(c)); }
void main() {
  vec3 sum = Safe(texture(uSource, vUv + vec2(-1.0, -1.0) * uSourceTexel).rgb) +
             Safe(texture(uSource, vUv + vec2(1.0, -1.0) * uSourceTexel).rgb) +
             Safe(texture(uSource, vUv + vec2(-1.0, 1.0) * uSourceTexel).rgb) +
             Safe(texture(uSource, vUv + vec2(1.0, 1.0) * uSourceTexel).rgb);
  oColour = vec4(min(sum * 0.25, vec3(65504.0)), 0.0);
}
)";

const char* const kUpsampleFragment = R"(#version 330 core
in vec2 vUv;
out vec4 oColour;
uniform sampler2D uSource;
uniform vec2 uSourceTexel;
void main() {
  vec2 o = uSourceTexel;
  vec3 c = 4.0 * texture(uSource, vUv).rgb;
  c += 2.0 * (texture(uSource, vUv + vec2(o.x, 0.0)).rgb + texture(uSource, vUv - vec2(o.x, 0.0)).rgb +
              texture(uSource, vUv + vec2(0.0, o.y)).rgb + texture(uSource, vUv - vec2(0.0, o.y)).rgb);
  c += texture(uSource, vUv + o).rgb + texture(uSource, vUv - o).rgb + texture(uSource, vUv + vec2(o.x, -o.y)).rgb +
       texture(uSource, vUv + vec2(-o.x, o.y)).rgb;
  oColour = vec4(min(c / 16.0, vec3(65504.0)), 0.0);
}
)";

// AgX (Troy Sobotka's, in its common polynomial fit) with a slightly stronger saturation.
const char* const kCompositeFragment = R"(#version 330 core
in vec2 vUv;
out vec4 oColour;
uniform sampler2D uScene;
uniform sampler2D uEnvironment;
uniform sampler2D uBloom;
uniform float uBloomMix;
uniform float uBloomScale;
uniform float uExposure;
uniform int uLinear;
uniform int uDither;
uniform ivec2 uOrigin;
uniform sampler2D uTitle;
uniform float uTitleOpacity;
uniform vec4 uTitleRect;

vec3 Safe(vec3 c) { return mix(clamp(c, vec3(0.0), vec3(65504.0)), vec3(0.0), isnan(c)); }

const mat3 kAgxInset = mat3(0.842479062253094, 0.0423282422610123, 0.0423756549057051,
                            0.0784335999999992, 0.878468636469772, 0.0784336,
                            0.0792237451477643, 0.0791661274605434, 0.879142973793104);
const mat3 kAgxOutset = mat3(1.19687900512017, -0.0528968517574562, -0.0529716355144438,
                             -0.0980208811401368, 1.15190312990417, -0.0980434501171241,
                             -0.0990297440797205, -0.0989611768448433, 1.15107367264116);
const float kMinEv = -12.47393;
const float kMaxEv = 4.026069;
const float kSaturation = 1.2;

vec3 AgxContrast(vec3 x) {
  vec3 x2 = x * x;
  vec3 x4 = x2 * x2;
  return 15.5 * x4 * x2 - 40.14 * x4 * x + 31.96 * x4 - 6.868 * x2 * x + 0.4298 * x2 + 0.1191 * x - 0.00232;
}

vec3 Agx(vec3 c) {
  c = kAgxInset * c;
  c = clamp(log2(max(c, vec3(1e-10))), kMinEv, kMaxEv);
  c = AgxContrast((c - kMinEv) / (kMaxEv - kMinEv));
  float luma = dot(c, vec3(0.2126, 0.7152, 0.0722));
  c = luma + kSaturation * (c - luma);
  c = kAgxOutset * c;
  return pow(clamp(c, 0.0, 1.0), vec3(2.2));
}

vec3 EncodeSrgb(vec3 c) {
  return mix(12.92 * c, 1.055 * pow(c, vec3(1.0 / 2.4)) - 0.055, greaterThan(c, vec3(0.0031308)));
}

float Hash(ivec2 cell, uint salt) {
  uint h = uint(cell.x) * 0x8da6b343u ^ uint(cell.y) * 0xd8163841u ^ salt * 0xcb1ab31fu;
  h = (h ^ (h >> 16)) * 0x7feb352du;
  h = (h ^ (h >> 15)) * 0x846ca68bu;
  h ^= h >> 16;
  return float(h & 0xffffffu) / 16777216.0;
}

void main() {
  ivec2 pixel = ivec2(gl_FragCoord.xy) - uOrigin;
  vec3 stars = Safe(texelFetch(uScene, pixel, 0).rgb);
  if (uBloomMix > 0.0) stars = mix(stars, Safe(texture(uBloom, vUv).rgb) * uBloomScale, uBloomMix);
  vec3 c = Safe(stars + texture(uEnvironment, vUv).rgb);
  if (uLinear == 1) {
    oColour = vec4(c, 1.0);
    return;
  }
  vec3 display = EncodeSrgb(Agx(c * uExposure));
  if (uTitleOpacity > 0.0 && all(greaterThanEqual(vUv, uTitleRect.xy)) && all(lessThan(vUv, uTitleRect.zw))) {
    vec2 st = vec2((vUv.x - uTitleRect.x) / (uTitleRect.z - uTitleRect.x),
                   (uTitleRect.w - vUv.y) / (uTitleRect.w - uTitleRect.y));
    float coverage = texture(uTitle, st).r * uTitleOpacity;
    display = mix(display, vec3(0.96, 0.92, 0.84), coverage);
  }
  if (uDither == 1) {
    display += (vec3(Hash(pixel, 1u), Hash(pixel, 2u), Hash(pixel, 3u)) - 0.5) / 255.0;
  }
  oColour = vec4(clamp(display, 0.0, 1.0), 1.0);
}
)";

}  // namespace orvane::night_shaders
