#version 110
// The dual level meter's look.
//
// Both bars are coloured by how high a point lies in the view, so the ten
// pieces of a bar run from green at the bottom through yellow to red at the
// top, and the two channels look alike at the same level. The background is
// the meter unlit: a dark version of the same scale with a tick line at every
// tenth of the height.
//
//   stage       1 while the background is drawn, 0 for the bars
//   CHANNEL     1 for the left bar, 2 for the right bar (meaningless for the
//               background, which therefore never reads it)
//   height      the view height in pixels
//   level       the left bar's height in pixels; unused, as the right bar's is
//               not known here and both bars are to look alike
//   HUE         turns the whole scale round the colour wheel (1 is a full turn)
//   SATURATION  added to the scale's saturation (0.85), LIGHTNESS to its
//               lightness (0.5); 0 gives the standard meter
//   MODE        0 a smooth gradient, 1 ten lit segments with dark rims,
//               anything else one colour of HUE per channel (the right one a
//               little apart), brighter towards the top
//   MONOCHROME  not 0: shades of grey instead of colours, brighter towards the top
//   BLEND       not 0: the bars fade into the background towards the bottom
uniform float height;
uniform float level;
uniform float HUE;
uniform float SATURATION;
uniform float LIGHTNESS;
uniform int stage;
uniform int MODE;
uniform int CHANNEL;
uniform int MONOCHROME;
uniform int BLEND;

varying vec2 pixel;

// Settings that are not numbers (NaN, infinities) count as 0.
float usable(float value) {
    return (value == value && abs(value) < 1.0e6) ? value : 0.0;
}

vec3 hslColour(float h, float s, float l) {
    vec3 k = clamp(abs(mod(h * 6.0 + vec3(0.0, 4.0, 2.0), 6.0) - 3.0) - 1.0, 0.0, 1.0);
    return l + s * (k - 0.5) * (1.0 - abs(2.0 * l - 1.0));
}

void main() {
    float h = max(usable(height), 1.0);
    float up = clamp((h - pixel.y) / h, 0.0, 1.0);    // 0 at the bottom edge, 1 at the top
    float tenth = min(floor(up * 10.0), 9.0);          // which tenth of the scale
    float intoTenth = (up * 10.0 - tenth) * h * 0.1;   // pixels above the tenth's lower edge
    bool segmented = MODE == 1;
    bool singleColour = MODE != 0 && MODE != 1;

    float t = segmented ? (tenth + 0.5) / 10.0 : up;
    float hue = 0.33 * (1.0 - t);
    if (singleColour) hue = 0.58 + (stage == 0 && CHANNEL == 2 ? 0.06 : 0.0);
    hue = fract(hue + usable(HUE));
    float saturation = clamp(0.85 + usable(SATURATION), 0.0, 1.0);
    float lightness = clamp(0.5 + usable(LIGHTNESS), 0.05, 0.95);

    vec3 colour;
    float alpha = 1.0;
    if (stage == 1) {
        colour = MONOCHROME != 0 ? vec3(0.09) : hslColour(hue, saturation * 0.45, 0.09);
        if (intoTenth < 1.0 && tenth > 0.0) colour += vec3(0.10);   // tick line
    } else {
        colour = MONOCHROME != 0 ? vec3(lightness * (1.0 + 0.8 * t)) : hslColour(hue, saturation, lightness);
        if (singleColour) colour *= 0.7 + 0.3 * up;
        if (segmented && (intoTenth < 1.0 || intoTenth > h * 0.1 - 1.0)) colour *= 0.35;
        if (BLEND != 0) alpha = 0.3 + 0.7 * up;
    }
    gl_FragColor = vec4(clamp(colour, 0.0, 1.0), alpha);
}
