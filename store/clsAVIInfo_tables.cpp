// The name tables of clsAVIInfo: video codecs by FourCC, audio formats by WAVE format tag, INFO ids.
#include "clsAVIInfo.h"

#include <utility>

void clsAVIInfo::MakeCodecList() {
    // A row without a description of its own takes the previous row's (the codec's other codes).
    static const std::pair<const char*, const char*> rows[] = {
        {"", "Uncompressed"}, {"DIB ", ""}, {"RGB ", ""}, {"RAW ", ""},
        {"3IV1", "3ivx MPEG-4"}, {"3IV2", "3ivx MPEG-4 v2"},
        {"AASC", "Autodesk Animator RLE"}, {"AFLI", "Autodesk FLI animation"}, {"AFLC", "Autodesk FLC animation"},
        {"ABYR", "Kensington ABYR"}, {"AEMI", "Array VideoONE MPEG-1 I-frame"}, {"AMPG", "Array VideoONE MPEG"},
        {"ANIM", "Intel RDX"}, {"AP41", "AngelPotion MPEG-4"}, {"ASV1", "Asus Video 1"}, {"ASV2", "Asus Video 2"},
        {"ASVX", "Asus Video 2.0"}, {"AUR2", "Aura 2 YUV 4:2:2"}, {"AURA", "Aura 1 YUV 4:1:1"},
        {"BINK", "RAD Game Tools Bink Video"}, {"BT20", "Brooktree MediaStream Prosumer"},
        {"BTCV", "Brooktree Composite Video"}, {"BW10", "Broadway MPEG capture"},
        {"CC12", "Intel YUV12"}, {"CDVC", "Canopus DV"}, {"CFCC", "DPS Perception motion JPEG"},
        {"CGDI", "Microsoft Office 97 camcorder"}, {"CHAM", "Winnov Caviara Champagne"},
        {"CJPG", "Creative WebCam JPEG"}, {"CPLA", "Weitek YUV 4:2:0 planar"},
        {"CRAM", "Microsoft Video 1"}, {"MSVC", ""}, {"WHAM", ""},
        {"CVID", "Cinepak codec by Radius"}, {"CWLT", "Microsoft colour WLT DIB"}, {"GWLT", "Microsoft greyscale WLT DIB"},
        {"CYUV", "Creative Labs YUV"}, {"CYUY", "ATI YUV"},
        {"DIV2", "Microsoft MPEG-4 v2 (DivX variant)"}, {"DIV3", "DivX MPEG-4 low motion"},
        {"DIV4", "DivX MPEG-4 fast motion"}, {"DIV5", "DivX MPEG-4 v5"}, {"DIVX", "DivX MPEG-4"},
        {"DMB1", "Matrox Rainbow Runner motion JPEG"}, {"DMB2", "Paradigm motion JPEG"},
        {"DSVD", "Pinacle systems DV"}, {"DVSD", ""},
        {"DUCK", "Duck TrueMotion 1"}, {"DVE2", "InSoft DVE-2 videoconferencing"},
        {"DVX1", "Lucent DVX1000SP YUV 4:2:2"}, {"DVX2", "Lucent DVX2000S YUV 4:2:2"},
        {"DVX3", "Lucent DVX3000S YUV 4:2:2"},
        {"DXT1", "DirectX texture compression 1"}, {"DXT2", "DirectX texture compression 2"},
        {"DXT3", "DirectX texture compression 3"}, {"DXT4", "DirectX texture compression 4"},
        {"DXT5", "DirectX texture compression 5"}, {"DXTC", "DirectX texture compression"},
        {"ELK0", "Elsa graphics card YUV"}, {"ESCP", "Eidos Escape"},
        {"ETV1", "eTreppid video 1"}, {"ETV2", "eTreppid video 2"}, {"ETVC", "eTreppid video C"},
        {"FLJP", "D-Vision field-encoded motion JPEG"}, {"FRWA", "SoftLab-NSK Forward motion JPEG with alpha"},
        {"FRWD", "SoftLab-NSK Forward motion JPEG"}, {"GLZW", "Motion LZW by gabest"},
        {"GPEG", "Motion JPEG by gabest"},
        {"H260", "Intel ITU H.260"}, {"H261", "Intel ITU H.261"}, {"H262", "Intel ITU H.262"},
        {"H263", "Intel ITU H.263"}, {"H264", "ITU H.264"}, {"H265", "Intel ITU H.265"},
        {"H266", "Intel ITU H.266"}, {"H267", "Intel ITU H.267"}, {"H268", "Intel ITU H.268"},
        {"H269", "Intel ITU H.269"}, {"HFYU", "Huffyuv lossless"}, {"HMCR", "Rendition motion compensation"},
        {"HMRR", "Rendition motion compensation"}, {"i263", "Intel ITU H.263"}, {"i420", "Intel Indeo 4 YUV 4:2:0"},
        {"IAN ", "Intel Indeo 4 RDX"}, {"ICLB", "InSoft CellB videoconferencing"}, {"IGOR", "Power DVD"},
        {"IJPG", "Intergraph JPEG"}, {"ILVC", "Intel layered video"}, {"ILVR", "ITU H.263+"},
        {"IPDV", "Giga AVI DV"}, {"IR21", "Intel Indeo 2.1"},
        {"IV30", "Ligos Indeo 3"}, {"IV31", ""}, {"IV32", ""}, {"IV33", ""}, {"IV34", ""}, {"IV35", ""},
        {"IV36", ""}, {"IV37", ""}, {"IV38", ""}, {"IV39", ""}, {"IV32", "Ligos Indeo 3.2"},
        {"IV40", "Ligos Indeo Interactive 4"}, {"IV41", "Ligos Indeo Interactive 4.1"}, {"IV42", ""},
        {"IV43", ""}, {"IV44", ""}, {"IV45", ""}, {"IV46", ""}, {"IV47", ""}, {"IV48", ""}, {"IV49", ""},
        {"IV50", "Ligos Indeo Interactive 5"},
        {"JPGL", "Pegasus lossless JPEG"}, {"KMVC", "Karl Morton video codec"}, {"LEAD", "LEAD video"},
        {"Ljpg", "LEAD motion JPEG"}, {"M263", "Microsoft ITU H.263"}, {"M261", "Microsoft ITU H.261"},
        {"MC12", "ATI motion compensation"}, {"MCAM", "ATI motion compensation"},
        {"mJPG", "IBM Motion JPEG including Huffman Tables"}, {"MJPG", "Motion JPEG"},
        {"MP42", "Microsoft MPEG-4 v2"}, {"MP43", "Microsoft MPEG-4 v3"}, {"MP4S", "Microsoft MPEG-4 simple profile"},
        {"MPEG", "Chromatic MPEG-1 I-frame"}, {"MPG4", "Microsoft MPEG-4 v1"}, {"MPGI", "Sigma Designs MPEG"},
        {"MRCA", "FAST Multimedia MR codec"}, {"MRLE", "Microsoft RLE"}, {"RLE ", "Run length encoding"},
        {"MTX1", "Matrox motion JPEG"}, {"MTX2", ""}, {"MTX3", ""}, {"MTX4", ""}, {"MTX5", ""}, {"MTX6", ""},
        {"MTX7", ""}, {"MTX8", ""}, {"MTX9", ""}, {"MWV1", "Aware motion wavelets"},
        {"nAVI", "Hacked Microsoft MPEG-4"}, {"NTN1", "Nogatech video compression 1"},
        {"NVS0", "Nvidia texture compression"}, {"NVS1", ""}, {"NVS2", ""}, {"NVS3", ""}, {"NVS4", ""},
        {"NVS5", ""}, {"NVT0", "Nvidia texture format"}, {"NVT1", ""}, {"NVT2", ""}, {"NVT3", ""}, {"NVT4", ""},
        {"NVT5", ""}, {"PDVC", "I-O Data Device Inc. DVC"}, {"PGVV", "Radius video vision"},
        {"PIM1", "Pegasus MPEG-1"}, {"PIM2", "Pegasus MPEG-2"}, {"PIMJ", "Pegasus lossless JPEG"},
        {"PVEZ", "Horizons Technology PowerEZ"}, {"PVMM", "PacketVideo MPEG-4"},
        {"PVW2", "Pegasus wavelet 2000"}, {"qpeq", "Q-Team QPEG 1.1"}, {"QPEG", "Q-Team QPEG 1.0"},
        {"RGBT", "Computer Concepts 32-bit"}, {"RT21", "Intel Real Time Video 2.1"},
        {"rv20", "RealVideo G2"}, {"rv30", "RealVideo 8"}, {"RVX ", "Intel RDX"},
        {"s422", "Tekram VideoCap C210 YUV 4:2:2"}, {"SDCC", "Sun Digital Camera codec"},
        {"SFMC", "Crystal Net surface fitting"}, {"SMSC", "Radius proprietary"}, {"SMSD", "Radius proprietary"},
        {"smsv", "WorldConnect wavelet video"}, {"SPIG", "Radius Spigot"}, {"SQZ2", "Microsoft VXtreme video v2"},
        {"SV10", "Sorenson Media video R1"}, {"STVA", "ST CMOS imager raw A"}, {"STVB", "ST CMOS imager raw B"},
        {"STVC", "ST CMOS imager raw C"}, {"STVX", "ST CMOS imager raw X"}, {"STVY", "ST CMOS imager raw Y"},
        {"SVQ1", "Sorenson video 1"}, {"TLMS", "TeraLogic motion intraframe"}, {"TLST", "TeraLogic motion intraframe"},
        {"TMIC", "TeraLogic motion intraframe"}, {"TM20", "Duck TrueMotion 2.0"}, {"TM2X", "Duck TrueMotion 2X"},
        {"TMOT", "Horizons Technology TrueMotion S"}, {"TR20", "Duck TrueMotion RT 2.0"},
        {"TSCC", "TechSmith screen capture"}, {"TV10", "Tecomac low-bit-rate"}, {"TVJP", "Pinnacle TARGA motion JPEG"},
        {"TVMJ", "Pinnacle TARGA motion JPEG"}, {"TY2C", "Trident decompression"}, {"TY2N", "Trident decompression"},
        {"TY0N", "Trident decompression"}, {"UCOD", "eMajix ClearVideo"}, {"ULTI", "IBM Ultimotion"},
        {"V261", "Lucent VX2000S"}, {"VCR1", "ATI video 1"}, {"VCR2", "ATI video 2"},
        {"VDOM", "VDOnet VDOWave"}, {"VDOW", "VDOnet VDOLive"}, {"VDTZ", "Darim VideoTizer YUV"},
        {"VGPX", "Alaris VideoGramPixel"}, {"VIDS", "Vitec Multimedia YUV 4:2:2"}, {"VIVO", "Vivo H.263"},
        {"VIXL", "Miro video XL"}, {"VLV1", "VideoLogic video"}, {"VP30", "On2 VP3"}, {"VP31", "On2 VP3.1"},
        {"VX1K", "Lucent VX1000S video"}, {"VX2K", "Lucent VX2000S video"}, {"VXSP", "Lucent VX1000SP video"},
        {"VYU9", "ATI YUV"}, {"VYUY", "ATI packed YUV"}, {"WBVC", "Winbond W9960"},
        {"WINX", "Winnov software compression"}, {"WJPG", "Winbond motion JPEG"}, {"WNV1", "Winnov hardware compression"},
        {"x263", "Xirlink H.263"}, {"XLV0", "NetXL video decoder"}, {"XMPG", "Xing MPEG I-frame"},
        {"Y41P", "Brooktree YUV 4:1:1"}, {"Y8  ", "Greyscale video"}, {"YC12", "Intel YUV12"},
        {"YUV8", "Winnov YUV 4:2:2"}, {"YUY2", "Packed YUV 4:2:2"}, {"YUYV", "Canopus YUV"},
        {"ZLIB", "Lossless zlib video"}, {"ZPEG", "Metheus video zipper"}, {"XVID", "XviD open source MPEG-4"},
    };
    codecs_.clear();
    for (const auto& [fourcc, description] : rows) {
        std::string code = *fourcc ? std::string(fourcc) : std::string(4, '\0');
        std::string text = *description || codecs_.empty() ? std::string(description) : codecs_.back().second;
        codecs_.emplace_back(std::move(code), std::move(text));
    }
}

std::string clsAVIInfo::AudiCodecFromFormat(int16_t tag) {
    static const std::pair<int16_t, const char*> rows[] = {
        {0, "Unknown Microsoft format"}, {1, "Microsoft PCM"}, {2, "Microsoft ADPCM"}, {3, "Microsoft IEEE float"},
        {4, "Compaq VSELP"}, {5, "IBM CVSD"}, {6, "Microsoft A-law"}, {7, "Microsoft mu-law"}, {8, "Microsoft DTS"},
        {9, "Microsoft DRM"}, {16, "OKI ADPCM"}, {17, "Intel IMA ADPCM"}, {18, "VideoLogic MediaSpace ADPCM"},
        {19, "Sierra ADPCM"}, {20, "Antex G.723 ADPCM"}, {21, "DSP Solutions DigiSTD"},
        {22, "DSP Solutions DigiFIX"}, {23, "Dialogic OKI ADPCM"}, {24, "MediaVision ADPCM"},
        {25, "Hewlett-Packard CU codec"}, {32, "Yamaha ADPCM"}, {33, "Speech Compression Sonarc"},
        {34, "DSP Group TrueSpeech"}, {35, "Echo Speech EchoSC1"}, {36, "Audiofile AF36"}, {37, "APTX"},
        {38, "Audiofile AF10"}, {39, "Prosody 1612"}, {40, "Merging Technologies LRC"}, {48, "Dolby AC-2"},
        {49, "Microsoft GSM 6.10"}, {50, "Microsoft MSN Audio"}, {51, "Antex ADPCME"},
        {52, "Control Resources VQLPC"}, {53, "DSP Solutions DigiREAL"}, {54, "DSP Solutions DigiADPCM"},
        {55, "Control Resources CR10"}, {56, "Natural MicroSystems VBX ADPCM"},
        {57, "Crystal Semiconductor IMA ADPCM"}, {58, "Echo Speech EchoSC3"}, {59, "Rockwell ADPCM"},
        {60, "Rockwell DigiTalk"}, {61, "Xebec Multimedia"}, {64, "Antex G.721 ADPCM"},
        {65, "Antex G.728 CELP"}, {66, "Microsoft MSG723"}, {80, "Microsoft MPEG"}, {82, "InSoft RT24"},
        {83, "InSoft PAC"}, {85, "MPEG Layer-3"}, {89, "Lucent G.723"}, {96, "Cirrus Logic"},
        {97, "ESS Technology PCM"}, {98, "Voxware"}, {99, "Canopus ATRAC"}, {100, "APICOM G.726 ADPCM"},
        {101, "APICOM G.722 ADPCM"}, {103, "Microsoft DSAT display"}, {105, "Voxware byte aligned"},
        {112, "Voxware AC8"}, {113, "Voxware AC10"}, {114, "Voxware AC16"}, {115, "Voxware AC20"},
        {116, "Voxware MetaVoice"}, {117, "Voxware MetaSound"}, {118, "Voxware RT29HW"}, {119, "Voxware VR12"},
        {120, "Voxware VR18"}, {121, "Voxware TQ40"}, {128, "Softsound"}, {129, "Voxware TQ60"},
        {130, "Microsoft MSRT24"}, {131, "AT&T G.729A"}, {132, "Motion Pixels MVI MV12"},
        {133, "DataFusion G.726"}, {134, "DataFusion GSM 6.10"}, {136, "Iterated Systems audio"},
        {137, "OnLive! audio"}, {145, "Siemens SBC24"}, {146, "Sonic Foundry Dolby AC-3 SPDIF"},
        {147, "MediaSonic G.723"}, {148, "Aculab Prosody 8 kbps"}, {151, "ZyXEL ADPCM"},
        {152, "Philips LPCBB"}, {153, "Studer packed"}, {160, "Malden PhonyTalk"}, {256, "Rhetorex ADPCM"},
        {257, "BeCubed IRAT"}, {273, "Vivo G.723"}, {274, "Vivo Siren"}, {291, "Digital G.723"},
        {293, "Sanyo LD ADPCM"}, {304, "Sipro Lab ACELP.net"}, {305, "Sipro Lab ACELP 4800"},
        {306, "Sipro Lab ACELP 8V3"}, {307, "Sipro Lab G.729"}, {308, "Sipro Lab G.729A"},
        {309, "Sipro Lab Kelvin"}, {320, "Dictaphone G.726 ADPCM"}, {336, "Qualcomm PureVoice"},
        {337, "Qualcomm HalfRate"}, {341, "Ring Zero Systems TUBGSM"}, {352, "Windows Media Audio V1"},
        {353, "Windows Media Audio V2"}, {368, "Unisys NAP ADPCM"}, {369, "Unisys NAP mu-law"},
        {370, "Unisys NAP A-law"}, {371, "Unisys NAP 16K"}, {512, "Creative Labs ADPCM"},
        {514, "Creative Labs FastSpeech8"}, {515, "Creative Labs FastSpeech10"}, {528, "UHER ADPCM"},
        {544, "Quarterdeck audio"}, {560, "I-Link VC"}, {576, "Aureal RAW Sport"}, {577, "ESS Technology AC-3"},
        {592, "Interactive Products HSX"}, {593, "Interactive Products RPELP"}, {608, "Consistent Software CS2"},
        {624, "Sony SCX"}, {768, "Fujitsu FM Towns sound"}, {1024, "Brooktree digital audio"},
        {1025, "Intel Music Coder"}, {1026, "Ligos Indeo audio"}, {1104, "QDesign Music"},
        {1664, "AT&T VME VMPCM"}, {1665, "AT&T TPC"}, {4096, "Olivetti GSM"}, {4097, "Olivetti ADPCM"},
        {4098, "Olivetti CELP"}, {4099, "Olivetti SBC"}, {4100, "Olivetti OPR"},
        {4352, "Lernout & Hauspie codec"}, {5120, "Norris Communications audio"},
        {5376, "AT&T Soundspace Musicompress"}, {8192, "FAST Multimedia DVM (AC-3)"},
        {-2, "Microsoft extensible"}, {-1, "Development stage codec"},
    };
    for (const auto& [key, name] : rows)
        if (key == tag) return name;
    return "Unknown audio format";
}

std::string clsAVIInfo::GetInfoName(int32_t inInfo) const {
    static const std::pair<const char*, const char*> names[] = {
        {"INFO", "Info list"}, {"IARL", "Archival location"}, {"IART", "Artist"}, {"ICMS", "Commissioned"},
        {"ICMT", "Comments"}, {"ICOP", "Copyright"}, {"ICRD", "Creation date"}, {"ICRP", "Cropped"},
        {"IDIM", "Dimensions"}, {"IDPI", "Dots per inch"}, {"IENG", "Engineer"}, {"IGNR", "Genre"},
        {"IID3", "ID3 tag"}, {"IKEY", "Keywords"}, {"ILGT", "Lightness"}, {"ILYC", "Lyrics"}, {"IMED", "Medium"},
        {"IMP3", "MP3"}, {"INAM", "Name/Title"}, {"IPLT", "Palette setting"}, {"IPRD", "Product"},
        {"ISBJ", "Subject"}, {"ISFT", "Software"}, {"ISHP", "Sharpness"}, {"ISRC", "Source"},
        {"ISRF", "Source form"}, {"ITCH", "Technician"}, {"DISP", "Sound Scheme title"},
    };
    const std::string t = LongToFourCC(inInfo);
    for (const auto& [id, name] : names)
        if (t == id) return name;
    if (!t.empty() && (t[0] == 'I' || t[0] == 'i')) return t.substr(t.size() >= 3 ? t.size() - 3 : 0);
    return std::to_string(inInfo);
}
