// The texts of the message table that differ between the languages, one
// column per source file. Each column's file is compiled with its code page
// as the execution character set, so the texts are stored as the bytes the
// ANSI Windows functions of such a system expect. A text is named after its
// message id; every column defines the same names.
#pragma once

// The names, in the table's stored order.
#define SETUP32_COLUMN_TEXTS                                                                       \
    k9000[], k0[], k1[], k10[], k11[], k12[], k13[], k14[], k15[], k16[], k17[], k18[], k19[],     \
        k21[], k40[], k41[], k42[], k43[], k44[], k45[], k46[], k47[], k48[], k49[], k50[], k51[], \
        k52[], k53[], k54[], k55[], k56[], k57[], k58[], k59[], k60[], k61[], k62[], k63[], k64[], \
        k72[], k73[], k90[], k100[], k101[]

namespace setup32::message_texts {

namespace english {  // code page 1252
extern const char SETUP32_COLUMN_TEXTS;
}
namespace chinese {  // code page 950 (Big5)
extern const char SETUP32_COLUMN_TEXTS;
}
namespace japanese {  // code page 932
extern const char SETUP32_COLUMN_TEXTS;
}

}  // namespace setup32::message_texts

#undef SETUP32_COLUMN_TEXTS
