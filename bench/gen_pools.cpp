#include "gen_pools.h"

#include <cstdint>
#include <stdexcept>

namespace kindrel::gen {
namespace {

// ANSEL combining marks (written before the base letter).
constexpr char kGrave = '\xE1';
constexpr char kAcute = '\xE2';
constexpr char kCircumflex = '\xE3';
constexpr char kTilde = '\xE4';
constexpr char kBreve = '\xE6';
constexpr char kDotAbove = '\xE7';
constexpr char kDiaeresis = '\xE8';
constexpr char kCaron = '\xE9';
constexpr char kRing = '\xEA';
constexpr char kDoubleAcute = '\xEE';
constexpr char kCedilla = '\xF0';
constexpr char kOgonek = '\xF1';

struct AnselForm {
    char32_t codePoint;
    char mark;  // 0 for a single special byte
    char base;  // the base letter, or the special byte itself
};

// Letters of Latin-1 and Latin Extended-A that the pools use, and their ANSEL forms.
constexpr AnselForm kAnselForms[] = {
    {U'À', kGrave, 'A'},       {U'Á', kAcute, 'A'},       {U'Â', kCircumflex, 'A'},
    {U'Ã', kTilde, 'A'},       {U'Ä', kDiaeresis, 'A'},   {U'Å', kRing, 'A'},
    {U'Æ', 0, '\xA5'},         {U'Ç', kCedilla, 'C'},     {U'È', kGrave, 'E'},
    {U'É', kAcute, 'E'},       {U'Ê', kCircumflex, 'E'},  {U'Ë', kDiaeresis, 'E'},
    {U'Ì', kGrave, 'I'},       {U'Í', kAcute, 'I'},       {U'Î', kCircumflex, 'I'},
    {U'Ï', kDiaeresis, 'I'},   {U'Ñ', kTilde, 'N'},       {U'Ò', kGrave, 'O'},
    {U'Ó', kAcute, 'O'},       {U'Ô', kCircumflex, 'O'},  {U'Õ', kTilde, 'O'},
    {U'Ö', kDiaeresis, 'O'},   {U'Ø', 0, '\xA2'},         {U'Ù', kGrave, 'U'},
    {U'Ú', kAcute, 'U'},       {U'Û', kCircumflex, 'U'},  {U'Ü', kDiaeresis, 'U'},
    {U'Ý', kAcute, 'Y'},       {U'Þ', 0, '\xA4'},         {U'ß', 0, '\xCF'},
    {U'à', kGrave, 'a'},       {U'á', kAcute, 'a'},       {U'â', kCircumflex, 'a'},
    {U'ã', kTilde, 'a'},       {U'ä', kDiaeresis, 'a'},   {U'å', kRing, 'a'},
    {U'æ', 0, '\xB5'},         {U'ç', kCedilla, 'c'},     {U'è', kGrave, 'e'},
    {U'é', kAcute, 'e'},       {U'ê', kCircumflex, 'e'},  {U'ë', kDiaeresis, 'e'},
    {U'ì', kGrave, 'i'},       {U'í', kAcute, 'i'},       {U'î', kCircumflex, 'i'},
    {U'ï', kDiaeresis, 'i'},   {U'ð', 0, '\xBA'},         {U'ñ', kTilde, 'n'},
    {U'ò', kGrave, 'o'},       {U'ó', kAcute, 'o'},       {U'ô', kCircumflex, 'o'},
    {U'õ', kTilde, 'o'},       {U'ö', kDiaeresis, 'o'},   {U'ø', 0, '\xB2'},
    {U'ù', kGrave, 'u'},       {U'ú', kAcute, 'u'},       {U'û', kCircumflex, 'u'},
    {U'ü', kDiaeresis, 'u'},   {U'ý', kAcute, 'y'},       {U'þ', 0, '\xB4'},
    {U'ÿ', kDiaeresis, 'y'},   {U'Ą', kOgonek, 'A'},      {U'ą', kOgonek, 'a'},
    {U'Ć', kAcute, 'C'},       {U'ć', kAcute, 'c'},       {U'Č', kCaron, 'C'},
    {U'č', kCaron, 'c'},       {U'Ď', kCaron, 'D'},       {U'ď', kCaron, 'd'},
    {U'Ę', kOgonek, 'E'},      {U'ę', kOgonek, 'e'},      {U'Ě', kCaron, 'E'},
    {U'ě', kCaron, 'e'},       {U'Ğ', kBreve, 'G'},       {U'ğ', kBreve, 'g'},
    {U'İ', kDotAbove, 'I'},    {U'ı', 0, '\xB8'},         {U'Ł', 0, '\xA1'},
    {U'ł', 0, '\xB1'},         {U'Ń', kAcute, 'N'},       {U'ń', kAcute, 'n'},
    {U'Ň', kCaron, 'N'},       {U'ň', kCaron, 'n'},       {U'Ő', kDoubleAcute, 'O'},
    {U'ő', kDoubleAcute, 'o'}, {U'Œ', 0, '\xA6'},         {U'œ', 0, '\xB6'},
    {U'Ř', kCaron, 'R'},       {U'ř', kCaron, 'r'},       {U'Ś', kAcute, 'S'},
    {U'ś', kAcute, 's'},       {U'Ş', kCedilla, 'S'},     {U'ş', kCedilla, 's'},
    {U'Š', kCaron, 'S'},       {U'š', kCaron, 's'},       {U'Ť', kCaron, 'T'},
    {U'ť', kCaron, 't'},       {U'Ů', kRing, 'U'},        {U'ů', kRing, 'u'},
    {U'Ű', kDoubleAcute, 'U'}, {U'ű', kDoubleAcute, 'u'}, {U'Ź', kAcute, 'Z'},
    {U'ź', kAcute, 'z'},       {U'Ż', kDotAbove, 'Z'},    {U'ż', kDotAbove, 'z'},
    {U'Ž', kCaron, 'Z'},       {U'ž', kCaron, 'z'},
};

// Decodes one UTF-8 sequence at text[pos], advancing pos; throws on malformed input.
char32_t DecodeUtf8(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        ++pos;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
    } else {
        throw std::invalid_argument("malformed UTF-8 in a pool");
    }
    if (pos + extra >= text.size()) throw std::invalid_argument("truncated UTF-8 in a pool");
    for (int i = 1; i <= extra; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) throw std::invalid_argument("malformed UTF-8 in a pool");
        cp = (cp << 6) | (next & 0x3F);
    }
    pos += extra + 1;
    return cp;
}

std::vector<std::string> Encoded(std::initializer_list<const char*> words, Charset charset) {
    std::vector<std::string> result;
    result.reserve(words.size());
    for (const char* word : words) {
        result.emplace_back(charset == Charset::kAnsel ? Utf8ToAnsel(word) : std::string(word));
    }
    return result;
}

}  // namespace

std::string Utf8ToAnsel(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 8);
    size_t pos = 0;
    while (pos < text.size()) {
        const char32_t cp = DecodeUtf8(text, pos);
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
            continue;
        }
        bool found = false;
        for (const AnselForm& form : kAnselForms) {
            if (form.codePoint != cp) continue;
            if (form.mark != 0) out.push_back(form.mark);
            out.push_back(form.base);
            found = true;
            break;
        }
        if (!found) throw std::invalid_argument("character without an ANSEL form in a pool");
    }
    return out;
}

Pools::Pools(Charset charset)
    : maleNames(Encoded(
          {"Aaron",     "Abel",      "Adam",    "Adrian",    "Albert",    "Alexander", "Alfred",
           "Ambrose",   "Andrew",    "Anthony", "Arthur",    "Augustus",  "Benjamin",  "Bernard",
           "Bjørn",     "Caleb",     "Charles", "Christian", "Christoph", "Clement",   "Conrad",
           "Cornelius", "Daniel",    "David",   "Dmitri",    "Edgar",     "Edmund",    "Edward",
           "Edwin",     "Elias",     "Emil",    "Ernest",    "Eugene",    "Felix",     "Francis",
           "François",  "Frederick", "Gabriel", "George",    "Gerhard",   "Gilbert",   "Gustav",
           "Hans",      "Harold",    "Henry",   "Herbert",   "Hugh",      "Isaac",     "Ivan",
           "Jacob",     "James",     "Jan",     "Jasper",    "Jérôme",    "Johann",    "John",
           "Jonas",     "José",      "Joseph",  "Josiah",    "Jürgen",    "Karl",      "Lars",
           "Lawrence",  "Leonard",   "Louis",   "Lucas",     "Łukasz",    "Magnus",    "Marek",
           "Martin",    "Matthias",  "Michael", "Mikuláš",   "Nathaniel", "Nicholas",  "Nils",
           "Noah",      "Obadiah",   "Olaf",    "Oliver",    "Oscar",     "Oswald",    "Patrick",
           "Paul",      "Peter",     "Philip",  "Pierre",    "Rafael",    "Ralph",     "Raymond",
           "René",      "Richard",   "Robert",  "Roland",    "Rupert",    "Samuel",    "Sebastian",
           "Silas",     "Simon",     "Søren",   "Stanisław", "Stephen",   "Şükrü",     "Sven",
           "Theodore",  "Thomas",    "Timothy", "Tobias",    "Tomáš",     "Victor",    "Vilém",
           "Walter",    "Wilhelm",   "William", "Zacharias", "Zoltán",    "Ödön",      "Íñigo"},
          charset)),
      femaleNames(
          Encoded({"Abigail",    "Ada",        "Adelaide",  "Agnes",     "Alice",     "Amalie",
                   "Amelia",     "Anna",       "Anežka",    "Annette",   "Astrid",    "Ayşe",
                   "Barbara",    "Beatrice",   "Bertha",    "Birgitta",  "Bridget",   "Caroline",
                   "Catherine",  "Cecilia",    "Charlotte", "Chloë",     "Christina", "Clara",
                   "Constance",  "Dagmar",     "Dorothea",  "Dorothy",   "Edith",     "Eleanor",
                   "Elisabeth",  "Eliza",      "Ellen",     "Elsa",      "Emily",     "Emma",
                   "Esther",     "Eva",        "Florence",  "Frances",   "Françoise", "Frida",
                   "Gertrude",   "Grace",      "Hannah",    "Harriet",   "Hedwig",    "Helen",
                   "Hélène",     "Henrietta",  "Ida",       "Ingrid",    "Inés",      "Irene",
                   "Isabel",     "Jane",       "Johanna",   "Josephine", "Judith",    "Julia",
                   "Karen",      "Katarzyna",  "Laura",     "Leonie",    "Lotte",     "Louisa",
                   "Lucy",       "Łucja",      "Lydia",     "Mabel",     "Magdalena", "Margaret",
                   "Margarethe", "Maria",      "Marta",     "Martha",    "Mary",      "Matilda",
                   "Mercy",      "Minna",      "Míla",      "Nora",      "Olga",      "Ottilie",
                   "Patience",   "Pauline",    "Prudence",  "Rachel",    "Rebecca",   "Rosa",
                   "Rosalind",   "Ruth",       "Sarah",     "Sigrid",    "Sofie",     "Sophia",
                   "Susanna",    "Šárka",      "Teresa",    "Thea",      "Ursula",    "Victoria",
                   "Vilma",      "Wilhelmina", "Zofia",     "Zoë",       "Zsófia",    "Åsa",
                   "Ebba",       "Greta",      "Hilde",     "Ilse",      "Jadwiga",   "Kirsten",
                   "Liesel",     "Maren",      "Ragnhild",  "Solveig",   "Tove"},
                  charset)),
      surnames(Encoded(
          {"Abbott",     "Åberg",       "Ackroyd",    "Ainsworth",  "Albrecht",   "Alder",
           "Ashdown",    "Atherton",    "Bailey",     "Barlow",     "Barrington", "Bauer",
           "Baxter",     "Beck",        "Bell",       "Berg",       "Bergström",  "Birch",
           "Blackwood",  "Bramley",     "Brandt",     "Brooks",     "Buckley",    "Burrows",
           "Carver",     "Castellano",  "Chadwick",   "Clayton",    "Cole",       "Cooper",
           "Crane",      "Crowther",    "Dale",       "Dawson",     "Demir",      "Dobson",
           "Drake",      "Dvořák",      "Dunmore",    "Eckhardt",   "Ellery",     "Elston",
           "Engström",   "Fairweather", "Falk",       "Farrow",     "Fenwick",    "Fischer",
           "Fletcher",   "Ford",        "Fox",        "Frost",      "Garnier",    "Garside",
           "Gilmore",    "Goddard",     "Greaves",    "Grünewald",  "Hale",       "Halvorsen",
           "Hargreaves", "Harrowgate",  "Hartley",    "Hayward",    "Heller",     "Hewitt",
           "Hoffmann",   "Holt",        "Horvath",    "Howarth",    "Hughes",     "Ingram",
           "Jansen",     "Jarvis",      "Jensen",     "Jowett",     "Kaczmarek",  "Keller",
           "Kemp",       "Kershaw",     "Kowalczyk",  "Krüger",     "Lambert",    "Langley",
           "Larsen",     "Lefèvre",     "Lindqvist",  "Lister",     "Lowe",       "Lund",
           "Marchbank",  "Marsh",       "Mayer",      "Mercer",     "Milner",     "Moreau",
           "Müller",     "Nash",        "Nielsen",    "Novák",      "Nowak",      "Nyström",
           "Ñúñez",      "Oakley",      "Olsen",      "Ormerod",    "Osborne",    "Palmer",
           "Parkin",     "Pedersen",    "Pike",       "Porter",     "Pratt",      "Quill",
           "Radcliffe",  "Ramsden",     "Redfern",    "Reyes",      "Richter",    "Rowley",
           "Sánchez",    "Schäfer",     "Schmidt",    "Seddon",     "Sharpe",     "Shaw",
           "Slater",     "Sørensen",    "Spencer",    "Stanhope",   "Steiner",    "Stokes",
           "Sutcliffe",  "Svoboda",     "Şahin",      "Tanner",     "Thorne",     "Tilney",
           "Townsend",   "Turner",      "Underwood",  "Vance",      "Varga",      "Vennick",
           "Vogel",      "Wagner",      "Wainwright", "Walsh",      "Ward",       "Weber",
           "Webster",    "Weiß",        "Whitaker",   "Wilde",      "Winter",     "Wójcik",
           "Wolff",      "Woodhouse",   "Wright",     "Yates",      "Yıldız",     "Zeller",
           "Zieliński",  "Ødegaard",    "Çelik",      "Østergaard", "Hvorslev",   "Kovač"},
          charset)),
      places(Encoded({"Ashcombe, Wendle, England",
                      "Millbrook, Wendle, England",
                      "Harnley, Wendle, England",
                      "Thornbury Cross, Wendle, England",
                      "Elmstead, Wendle, England",
                      "Cold Ashby, Wendle, England",
                      "Yarrow Bridge, Wendle, England",
                      "Kingsmere, Wendle, England",
                      "Halstow, Ferrishire, England",
                      "Brackenfield, Ferrishire, England",
                      "Westcote, Ferrishire, England",
                      "Oxley Green, Ferrishire, England",
                      "Lower Draycott, Ferrishire, England",
                      "Saltmarsh, Ferrishire, England",
                      "Leeds, Yorkshire, England",
                      "York, Yorkshire, England",
                      "Hull, Yorkshire, England",
                      "Liverpool, Lancashire, England",
                      "Manchester, Lancashire, England",
                      "London, England",
                      "Bristol, Gloucestershire, England",
                      "Norwich, Norfolk, England",
                      "Edinburgh, Scotland",
                      "Glasgow, Scotland",
                      "Cardiff, Wales",
                      "Dublin, Ireland",
                      "Cork, Ireland",
                      "Bergen, Hordaland, Norway",
                      "Trondheim, Norway",
                      "Oslo, Norway",
                      "Göteborg, Västra Götaland, Sweden",
                      "Malmö, Skåne, Sweden",
                      "Uppsala, Sweden",
                      "Aarhus, Denmark",
                      "Ærøskøbing, Denmark",
                      "Odense, Denmark",
                      "Bremen, Germany",
                      "Hamburg, Germany",
                      "Lübeck, Germany",
                      "München, Bayern, Germany",
                      "Köln, Germany",
                      "Großenhain, Sachsen, Germany",
                      "Zürich, Switzerland",
                      "Genève, Switzerland",
                      "Besançon, Doubs, France",
                      "Lyon, France",
                      "Orléans, France",
                      "Rouen, France",
                      "Kraków, Poland",
                      "Łódź, Poland",
                      "Gdańsk, Poland",
                      "Poznań, Poland",
                      "Praha, Bohemia",
                      "Brno, Moravia",
                      "České Budějovice, Bohemia",
                      "Wien, Austria",
                      "Graz, Austria",
                      "Budapest, Hungary",
                      "Pécs, Hungary",
                      "Sevilla, Spain",
                      "Córdoba, Spain",
                      "A Coruña, Spain",
                      "Lisboa, Portugal",
                      "Porto, Portugal",
                      "Firenze, Italy",
                      "Torino, Italy",
                      "Amsterdam, Netherlands",
                      "Leiden, Netherlands",
                      "Antwerpen, Belgium",
                      "İzmir, Türkiye",
                      "Bursa, Türkiye",
                      "Quebec City, Quebec, Canada",
                      "Montréal, Quebec, Canada",
                      "Toronto, Ontario, Canada",
                      "Boston, Suffolk, Massachusetts, USA",
                      "Salem, Essex, Massachusetts, USA",
                      "Albany, New York, USA",
                      "New York City, New York, USA",
                      "Philadelphia, Pennsylvania, USA",
                      "Lancaster, Pennsylvania, USA",
                      "Baltimore, Maryland, USA",
                      "Richmond, Virginia, USA",
                      "Charleston, South Carolina, USA",
                      "Cincinnati, Hamilton, Ohio, USA",
                      "Chicago, Cook, Illinois, USA",
                      "Milwaukee, Wisconsin, USA",
                      "St. Paul, Ramsey, Minnesota, USA",
                      "Salt Lake City, Salt Lake, Utah, USA",
                      "Logan, Cache, Utah, USA",
                      "Ogden, Weber, Utah, USA",
                      "San Francisco, California, USA",
                      "Portland, Oregon, USA",
                      "Sydney, New South Wales, Australia",
                      "Melbourne, Victoria, Australia",
                      "Adelaide, South Australia, Australia",
                      "Dunedin, Otago, New Zealand",
                      "Cape Town, South Africa",
                      "Buenos Aires, Argentina"},
                     charset)),
      occupations(Encoded({"Farmer",
                           "Agricultural labourer",
                           "Blacksmith",
                           "Wheelwright",
                           "Carpenter",
                           "Miller",
                           "Weaver",
                           "Cotton spinner",
                           "Coal miner",
                           "Schoolmaster",
                           "Schoolmistress",
                           "Clergyman",
                           "Shoemaker",
                           "Tailor",
                           "Seamstress",
                           "Dressmaker",
                           "Domestic servant",
                           "Housekeeper",
                           "Cook",
                           "Baker",
                           "Butcher",
                           "Grocer",
                           "Innkeeper",
                           "Brewer",
                           "Mariner",
                           "Ship's carpenter",
                           "Fisherman",
                           "Carter",
                           "Railway porter",
                           "Engine driver",
                           "Clerk",
                           "Bookkeeper",
                           "Solicitor",
                           "Physician",
                           "Nurse",
                           "Midwife",
                           "Stonemason",
                           "Bricklayer",
                           "Surveyor",
                           "Engineer"},
                          charset)),
      residenceTypes(Encoded({"Farm", "Cottage", "Lodging", "Schoolhouse", "Rectory", "Inn",
                              "Terraced house", "Mill house", "Tenement", "Homestead"},
                             charset)),
      causesOfDeath(Encoded({"Consumption", "Fever", "Old age", "Childbed", "Drowned",
                             "Accident at work", "Influenza", "Smallpox", "Heart failure"},
                            charset)),
      noteSentences(
          Encoded({"The family lived for many years in a cottage at the end of the village.",
                   "The entry in the register is partly illegible.",
                   "A letter of this year mentions a long illness.",
                   "The name is also spelt differently in some records.",
                   "Witnesses at the wedding were a brother and a neighbour.",
                   "The household is listed with two lodgers and a servant.",
                   "The will leaves the workshop and tools to the eldest son.",
                   "Emigrated with a cousin and settled near relatives.",
                   "Several children of this couple died in infancy.",
                   "The age given at death does not agree with the baptism.",
                   "Served as churchwarden for some years.",
                   "A photograph of the family survives from about this time.",
                   "The grave stone was recorded by the local history society.",
                   "The marriage took place by licence rather than after banns.",
                   "Later records give the place of birth as a neighbouring parish.",
                   "Moved to the town to find work in the new mills.",
                   "The baptism was private and received into church later.",
                   "Named after the maternal grandfather."},
                  charset)),
      sourceKinds(
          Encoded({"Parish registers", "Census returns", "Civil registration index",
                   "Probate calendar", "Land tax assessments", "Militia lists", "Passenger lists",
                   "Cemetery inscriptions", "Family Bible", "Newspaper notices",
                   "Church membership records", "Apprentice indentures"},
                  charset)),
      archives(
          Encoded({"Wendle County Record Office", "Ferrishire Archives", "Diocesan Record Office",
                   "National Archives reading room", "Municipal Archive",
                   "University Library, Special Collections", "Genealogical Society Library"},
                  charset)) {}

}  // namespace kindrel::gen
