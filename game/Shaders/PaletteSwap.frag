#version 110

// Replaces each texel whose colour is one of the palette's base colours by the variant's
// colour at the same index. Colours come from 8-bit sources, so a match within half a step
// of 1/255 is exact for every stored colour while tolerating float rounding.
uniform sampler2D uTexture;
uniform int uTotalColors;
uniform vec4 uSrcColor[128];
uniform vec4 uDstColor[128];

void main()
{
    vec4 texel = texture2D(uTexture, gl_TexCoord[0].st);
    vec3 colour = texel.rgb;
    for (int i = 0; i < 128; i++)
    {
        if (i >= uTotalColors) break;
        vec3 delta = abs(texel.rgb - uSrcColor[i].rgb);
        if (max(delta.r, max(delta.g, delta.b)) < 0.5 / 255.0)
        {
            colour = uDstColor[i].rgb;
            break;
        }
    }
    gl_FragColor = vec4(colour, texel.a) * gl_Color;
}
